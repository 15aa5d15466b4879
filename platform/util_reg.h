// Platform registry service (closed on the service processor; simulated in platform/sim).
//
// Maps slash-separated keys ("area/name") to raw byte values. Safe for concurrent readers.
#ifndef CIMP_PLATFORM_UTIL_REG_H
#define CIMP_PLATFORM_UTIL_REG_H

class ErrlEntry;

class UtilReg {
public:
    // Copies at most `size` bytes of the value of `key` into `buffer`; `size` holds the buffer's
    // capacity on entry. A text value need not carry a terminating NUL. Returns null on success,
    // or an error-log entry owned by the caller.
    static ErrlEntry* read(const char* key, void* buffer, unsigned int& size, bool flag,
                           ErrlEntry* parent);
};

#endif
