#include "broker/broker_os.h"

#include <pthread.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>

namespace cimbroker {
namespace {

// pthread_t is an integer on Linux; the CMPI handle is a pointer-sized opaque value.
CMPI_THREAD_TYPE toHandle(pthread_t thread) {
    return reinterpret_cast<CMPI_THREAD_TYPE>(static_cast<uintptr_t>(thread));
}

pthread_t fromHandle(CMPI_THREAD_TYPE handle) {
    return static_cast<pthread_t>(reinterpret_cast<uintptr_t>(handle));
}

// "name" -> "libname.so", the library file a provider name stands for. The caller frees it.
char* resolveFileName(const char* filename) {
    if (filename == nullptr) {
        return nullptr;
    }
    try {
        const std::string resolved = "lib" + std::string(filename) + ".so";
        return strdup(resolved.c_str());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

CMPI_THREAD_TYPE newThread(CMPI_THREAD_RETURN(CMPI_THREAD_CDECL* start)(void*), void* parm,
                           int detached) {
    if (start == nullptr) {
        return nullptr;
    }
    pthread_t thread;
    if (pthread_create(&thread, nullptr, start, parm) != 0) {
        return nullptr;
    }
    if (detached != 0) {
        pthread_detach(thread);
    }
    return toHandle(thread);
}

int joinThread(CMPI_THREAD_TYPE thread, CMPI_THREAD_RETURN* retval) {
    return pthread_join(fromHandle(thread), retval);
}

int exitThread(CMPI_THREAD_RETURN returnCode) {
    pthread_exit(returnCode);
}

int cancelThread(CMPI_THREAD_TYPE thread) {
    return pthread_cancel(fromHandle(thread));
}

int threadSleep(CMPIUint32 msec) {
    std::this_thread::sleep_for(std::chrono::milliseconds(msec));
    return 0;
}

// CMPI's once flag is a plain int, so one process-wide lock guards every flag.
int threadOnce(int* once, void (*init)(void)) {
    static std::mutex onceMutex;
    if (once == nullptr || init == nullptr) {
        return EINVAL;
    }
    std::lock_guard<std::mutex> lock(onceMutex);
    if (*once == 0) {
        init();
        *once = 1;
    }
    return 0;
}

int createThreadKey(CMPI_THREAD_KEY_TYPE* key, void (*cleanup)(void*)) {
    return key != nullptr ? pthread_key_create(key, cleanup) : EINVAL;
}

int setThreadSpecific(CMPI_THREAD_KEY_TYPE key, void* value) {
    return pthread_setspecific(key, value);
}

CMPI_MUTEX_TYPE newMutex(int) {
    std::unique_ptr<pthread_mutex_t> mutex(new (std::nothrow) pthread_mutex_t());
    if (!mutex) {
        return nullptr;
    }
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    const int rc = pthread_mutex_init(mutex.get(), &attributes);
    pthread_mutexattr_destroy(&attributes);
    return rc == 0 ? mutex.release() : nullptr;
}

// Mutexes and conditions are heap objects behind an opaque handle; a null handle is ignored.
template <typename T, int (*destroy)(T*)>
void destroyHandle(void* handle) {
    std::unique_ptr<T> object(static_cast<T*>(handle));
    if (object) {
        destroy(object.get());
    }
}

template <int (*operation)(pthread_mutex_t*)>
void onMutex(CMPI_MUTEX_TYPE handle) {
    if (handle != nullptr) {
        operation(static_cast<pthread_mutex_t*>(handle));
    }
}

constexpr auto destroyMutex = destroyHandle<pthread_mutex_t, pthread_mutex_destroy>;
constexpr auto lockMutex = onMutex<pthread_mutex_lock>;
constexpr auto unlockMutex = onMutex<pthread_mutex_unlock>;
constexpr auto destroyCondition = destroyHandle<pthread_cond_t, pthread_cond_destroy>;

CMPI_COND_TYPE newCondition(int) {
    std::unique_ptr<pthread_cond_t> condition(new (std::nothrow) pthread_cond_t());
    return condition && pthread_cond_init(condition.get(), nullptr) == 0 ? condition.release()
                                                                         : nullptr;
}

int condWait(CMPI_COND_TYPE cond, CMPI_MUTEX_TYPE mutex) {
    if (cond == nullptr || mutex == nullptr) {
        return EINVAL;
    }
    return pthread_cond_wait(static_cast<pthread_cond_t*>(cond),
                             static_cast<pthread_mutex_t*>(mutex));
}

// `wait` is an absolute CLOCK_REALTIME time, as for pthread_cond_timedwait.
int timedCondWait(CMPI_COND_TYPE cond, CMPI_MUTEX_TYPE mutex, struct timespec* wait) {
    if (cond == nullptr || mutex == nullptr || wait == nullptr) {
        return EINVAL;
    }
    return pthread_cond_timedwait(static_cast<pthread_cond_t*>(cond),
                                  static_cast<pthread_mutex_t*>(mutex), wait);
}

int signalCondition(CMPI_COND_TYPE cond) {
    return cond != nullptr ? pthread_cond_signal(static_cast<pthread_cond_t*>(cond)) : EINVAL;
}

CMPIBrokerExtFT osTable = {
    CMPICurrentVersion,  resolveFileName,   newThread,        joinThread,      exitThread,
    cancelThread,        threadSleep,       threadOnce,       createThreadKey, pthread_key_delete,
    pthread_getspecific, setThreadSpecific, newMutex,         destroyMutex,    lockMutex,
    unlockMutex,         newCondition,      destroyCondition, condWait,        timedCondWait,
    signalCondition,
};

}  // namespace

CMPIBrokerExtFT* osFunctionTable() {
    return &osTable;
}

}  // namespace cimbroker
