// How a simulated service reads its value file, with fault injection.
//
// A call first looks for `<file>.fail`: when present it fails with the code that file holds (or
// kRcBadFaultFile). Otherwise it reads at most `limit` bytes of the value file; a missing file
// fails with kRcMissing, an unreadable one with kRcUnreadable. Failures come back as a new
// SimErrlEntry carrying `service` and `key`, owned by the caller.
#ifndef CIMP_PLATFORM_SIM_SERVICE_FILE_H
#define CIMP_PLATFORM_SIM_SERVICE_FILE_H

#include <cstddef>
#include <string>

#include "platform/sim/env.h"

class ErrlEntry;

namespace cimpsim {

struct ServiceFile {
    const char* service;   // "UtilReg::read"
    const char* key;       // what the log shows: "svpd/Raw_MachineSerialNumber", "drax/managed"
    std::string base;      // directory the file lives beneath: "<root>/registry"
    std::string relative;  // the file below base: "svpd/Raw_MachineSerialNumber"
};

// Null and the bytes in `out`, or the failure's entry.
ErrlEntry* readServiceFile(const Env& env, const ServiceFile& file, size_t limit, std::string& out);

// A whole call of a service kept in one file: reports the call `service` to live captures, then
// reads <root>/`file` as readServiceFile does.
ErrlEntry* callFileService(const char* service, const char* file, size_t limit, std::string& out);

}  // namespace cimpsim

#endif
