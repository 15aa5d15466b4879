#include "platform/sim/file_lock.h"

#include <sys/file.h>

#include <cerrno>
#include <ctime>

namespace cimpsim {

namespace {

constexpr uint64_t kFirstPauseNanos = 10000;
constexpr uint64_t kLongestPauseNanos = 1000000;

uint64_t monotonicNanos() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

}  // namespace

bool lockExclusive(int fd) {
    const uint64_t deadline = monotonicNanos() + kLockWaitNanos;
    uint64_t pause = kFirstPauseNanos;
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return false;
        }
        if (monotonicNanos() >= deadline) {
            return false;
        }
        // Short pauses first: the usual holder is another writer that is nearly done.
        timespec sleep{0, static_cast<long>(pause)};
        nanosleep(&sleep, nullptr);
        pause = pause * 2 < kLongestPauseNanos ? pause * 2 : kLongestPauseNanos;
    }
}

}  // namespace cimpsim
