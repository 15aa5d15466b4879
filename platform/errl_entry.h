// Platform error-log entry (closed on the service processor; simulated in platform/sim).
//
// A platform call that fails creates an entry and hands it to its caller by pointer; a null
// pointer means success. The receiver owns the entry: it either passes it up unchanged, or
// commits it to the error log once and then deletes it.
#ifndef CIMP_PLATFORM_ERRL_ENTRY_H
#define CIMP_PLATFORM_ERRL_ENTRY_H

#include <cstdint>

class ErrlEntry {
public:
    virtual ~ErrlEntry();

    // The 32-bit return code the failing service gave this entry.
    uint32_t getRC() const;

    // Appends the entry to the error log with two caller-chosen values. Never fails the caller.
    void commit(unsigned short severity, unsigned short actions);

    ErrlEntry(const ErrlEntry&) = delete;
    ErrlEntry& operator=(const ErrlEntry&) = delete;

protected:
    explicit ErrlEntry(uint32_t rc) : iv_rc(rc) {}

private:
    uint32_t iv_rc;
};

#endif
