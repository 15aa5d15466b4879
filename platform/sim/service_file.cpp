#include "platform/sim/service_file.h"

#include <optional>
#include <string>

#include "platform/sim/platform_root.h"
#include "platform/sim/sim_errl_entry.h"
#include "platform/sim/sim_return_codes.h"
#include "platform/sim/value_parsers.h"

namespace cimpsim {

namespace {

// A fault code with blanks fits easily; anything longer is not one.
constexpr size_t kFaultFileLimit = 64;
constexpr char kFaultSuffix[] = ".fail";

uint32_t failureCode(ReadStatus status) {
    return status == ReadStatus::Missing ? kRcMissing : kRcUnreadable;
}

}  // namespace

ErrlEntry* readServiceFile(const ServiceFile& file, char* buffer, size_t& size) {
    const std::shared_ptr<const Directory> opened = platformDirectory(currentEnv(), false);
    const Directory& root = *opened;
    std::string path = std::string(file.folder) + file.key + kFaultSuffix;
    char fault[kFaultFileLimit + 1];
    const FileRead probe = root.read(path, fault, sizeof fault);
    if (probe.status == ReadStatus::Ok) {
        std::optional<uint32_t> rc = probe.size <= kFaultFileLimit
                                         ? parseFaultCode(std::string(fault, probe.size))
                                         : std::nullopt;
        return new SimErrlEntry(rc ? *rc : kRcBadFaultFile, file.service, file.key);
    }
    if (probe.status == ReadStatus::Unreadable) {
        return new SimErrlEntry(kRcUnreadable, file.service, file.key);
    }
    path.resize(path.size() - (sizeof kFaultSuffix - 1));
    const FileRead value = root.read(path, buffer, size);
    if (value.status != ReadStatus::Ok) {
        return new SimErrlEntry(failureCode(value.status), file.service, file.key);
    }
    size = value.size;
    return nullptr;
}

}  // namespace cimpsim
