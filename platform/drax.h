// Platform management-console information service (closed on the service processor; simulated in
// platform/sim).
#ifndef CIMP_PLATFORM_DRAX_H
#define CIMP_PLATFORM_DRAX_H

#include <cstdint>

class ErrlEntry;

// 16 bytes; the first field tells whether a management console manages the system (non-zero).
struct DraxManagedInfo {
    uint32_t managed;
    uint8_t reserved[12];
};
static_assert(sizeof(DraxManagedInfo) == 16, "DraxManagedInfo is a 16-byte record");

// Fills `info` on success and returns null; returns an error-log entry owned by the caller on failure.
ErrlEntry* draxQueryDraManagedInfo(DraxManagedInfo& info, bool current);

#endif
