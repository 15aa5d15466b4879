// A mutex that spins briefly before it sleeps.
//
// The platform holds its locks for about one system call. Two threads meeting there would
// otherwise put one to sleep and wake it again, which costs several system calls and a context
// switch, far more than waiting out the holder.
#ifndef CIMP_PLATFORM_SIM_ADAPTIVE_MUTEX_H
#define CIMP_PLATFORM_SIM_ADAPTIVE_MUTEX_H

#include <pthread.h>

namespace cimpsim {

class AdaptiveMutex {
  public:
    AdaptiveMutex() {
        pthread_mutexattr_t attributes;
        pthread_mutexattr_init(&attributes);
        pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_ADAPTIVE_NP);
        pthread_mutex_init(&mutex_, &attributes);
        pthread_mutexattr_destroy(&attributes);
    }
    ~AdaptiveMutex() { pthread_mutex_destroy(&mutex_); }
    AdaptiveMutex(const AdaptiveMutex&) = delete;
    AdaptiveMutex& operator=(const AdaptiveMutex&) = delete;

    void lock() { pthread_mutex_lock(&mutex_); }
    void unlock() { pthread_mutex_unlock(&mutex_); }

  private:
    pthread_mutex_t mutex_;
};

}  // namespace cimpsim

#endif
