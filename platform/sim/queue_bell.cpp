#include "platform/sim/queue_bell.h"

#include <poll.h>

#include <atomic>

namespace cimpsim {

namespace {

constexpr unsigned kRingEntries = 4;
constexpr unsigned kRingFlags =
    IORING_SETUP_SINGLE_ISSUER | IORING_SETUP_DEFER_TASKRUN | IORING_SETUP_TASKRUN_FLAG;

// A number no other thread of the process ever has, unlike a pthread_t or a tid, which are
// reused once a thread ends.
uint64_t callingThread() {
    static std::atomic<uint64_t> next{1};
    thread_local const uint64_t serial = next.fetch_add(1, std::memory_order_relaxed);
    return serial;
}

}  // namespace

QueueBell::QueueBell(int queue) : queue_(queue), ring_{}, ready_(false), owner_(callingThread()) {
    io_uring_params params{};
    params.flags = kRingFlags;
    if (io_uring_queue_init_params(kRingEntries, &ring_, &params) != 0) {
        return;
    }
    ready_ = listen();
    if (!ready_) {
        io_uring_queue_exit(&ring_);
    }
}

QueueBell::~QueueBell() {
    if (ready_) {
        io_uring_queue_exit(&ring_);
    }
}

bool QueueBell::listen() {
    io_uring_sqe* sqe = io_uring_get_sqe(&ring_);
    if (sqe == nullptr) {
        return false;
    }
    io_uring_prep_poll_multishot(sqe, queue_, POLLIN);
    return io_uring_submit(&ring_) == 1;
}

bool QueueBell::mayHaveRung() const {
    if (!ready_ || owner_ != callingThread()) {
        return true;
    }
    const unsigned flags = __atomic_load_n(ring_.sq.kflags, __ATOMIC_ACQUIRE);
    return (flags & (IORING_SQ_TASKRUN | IORING_SQ_CQ_OVERFLOW)) != 0 ||
           io_uring_cq_ready(&ring_) != 0;
}

void QueueBell::collect() {
    if (!ready_ || owner_ != callingThread()) {
        return;
    }
    io_uring_get_events(&ring_);
    bool ended = false;
    unsigned head = 0;
    unsigned seen = 0;
    io_uring_cqe* cqe = nullptr;
    io_uring_for_each_cqe(&ring_, head, cqe) {
        ended = ended || (cqe->flags & IORING_CQE_F_MORE) == 0;
        ++seen;
    }
    io_uring_cq_advance(&ring_, seen);
    if (ended && !listen()) {
        // Unheard from now on: say "maybe" for good rather than go quiet.
        ready_ = false;
        io_uring_queue_exit(&ring_);
    }
}

}  // namespace cimpsim
