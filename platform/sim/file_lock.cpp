#include "platform/sim/file_lock.h"

#include <sys/file.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace cimpsim {

bool lockExclusive(int fd) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + kLockWait;
    // Short pauses first: the usual holder is another writer that is nearly done.
    std::chrono::microseconds pause{10};
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        if ((errno != EWOULDBLOCK && errno != EINTR) || Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds{1000});
    }
}

}  // namespace cimpsim
