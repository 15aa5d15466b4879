// Whether the change queue may hold notices, told without a system call.
//
// An io_uring multishot poll waits on the queue. When the kernel queues a notice it wakes the
// poll, and with IORING_SETUP_TASKRUN_FLAG it flags the pending completion in the ring's memory,
// which this process shares, before the call that made the change returns. While neither that
// flag nor a completion is there, nothing has been queued since the last collect(), and reading
// the queue would be a system call spent for nothing.
//
// The ring runs its completions only on the thread that made it (IORING_SETUP_DEFER_TASKRUN,
// so the host's threads never see a spurious EINTR); on any other thread, and wherever io_uring
// is missing (a kernel before 6.1, io_uring disabled, a seccomp filter), the answer is "maybe".
#ifndef CIMP_PLATFORM_SIM_QUEUE_BELL_H
#define CIMP_PLATFORM_SIM_QUEUE_BELL_H

#include <liburing.h>

#include <cstdint>

namespace cimpsim {

class QueueBell {
  public:
    // Starts listening on `queue` for the calling thread.
    explicit QueueBell(int queue);
    ~QueueBell();
    QueueBell(const QueueBell&) = delete;
    QueueBell& operator=(const QueueBell&) = delete;

    // False only when nothing can have been queued since the last collect().
    bool mayHaveRung() const;
    // Takes the completions and listens again; call it before reading the queue, so that a
    // notice queued after the read rings anew.
    void collect();

  private:
    bool listen();

    int queue_;
    io_uring ring_;
    bool ready_;
    uint64_t owner_;
};

}  // namespace cimpsim

#endif
