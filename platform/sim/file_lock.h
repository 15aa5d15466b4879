// Exclusive file locks that other processes share, taken with a bounded wait.
//
// Writers hold the lock for microseconds. A process that keeps it longer is stuck or hostile,
// and waiting on it would hang every caller, so after kLockWait the caller gives up.
#ifndef CIMP_PLATFORM_SIM_FILE_LOCK_H
#define CIMP_PLATFORM_SIM_FILE_LOCK_H

#include <chrono>

namespace cimpsim {

constexpr std::chrono::seconds kLockWait{2};

// Takes flock(LOCK_EX) on `fd`; false when it is not granted within kLockWait.
bool lockExclusive(int fd);

}  // namespace cimpsim

#endif
