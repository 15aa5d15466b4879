// How a simulated service reads its value file, with fault injection.
//
// A call first looks for `<file>.fail`: when present it fails with the code that file holds (or
// kRcBadFaultFile). Otherwise it reads at most the given capacity of the value file; a missing
// file fails with kRcMissing, an unreadable one with kRcUnreadable. Failures come back as a new
// SimErrlEntry carrying `service` and `key`, owned by the caller. Both files are looked up
// beneath one opening of the platform root in force (platform_root.h).
#ifndef CIMP_PLATFORM_SIM_SERVICE_FILE_H
#define CIMP_PLATFORM_SIM_SERVICE_FILE_H

#include <cstddef>

class ErrlEntry;

namespace cimpsim {

struct ServiceFile {
    const char* service;  // "UtilReg::read"
    const char* folder;   // prefix of the file below the root: "registry/", or ""
    const char* key;      // the rest of the file's path, and what the log shows:
                          // "svpd/Raw_MachineSerialNumber", "drax/managed"
};

// Reads `file`: null with the value's bytes in `buffer` and their count in `size` (the capacity
// on entry), or the failure's entry with both left alone.
ErrlEntry* readServiceFile(const ServiceFile& file, char* buffer, size_t& size);

}  // namespace cimpsim

#endif
