#include "platform/sim/service_file.h"

#include <optional>

#include "platform/sim/capture_hub.h"
#include "platform/sim/platform_root.h"
#include "platform/sim/sim_errl_entry.h"
#include "platform/sim/sim_return_codes.h"
#include "platform/sim/value_parsers.h"

namespace cimpsim {

namespace {

// A fault code with blanks fits easily; anything longer is not one.
constexpr size_t kFaultFileLimit = 64;

uint32_t failureCode(ReadStatus status) {
    return status == ReadStatus::Missing ? kRcMissing : kRcUnreadable;
}

}  // namespace

ErrlEntry* readServiceFile(const Env& env, const ServiceFile& file, size_t limit,
                           std::string& out) {
    std::string fault;
    ReadStatus faultStatus =
        env.readBeneath(file.base, file.relative + ".fail", kFaultFileLimit + 1, fault);
    if (faultStatus == ReadStatus::Ok) {
        std::optional<uint32_t> rc =
            fault.size() <= kFaultFileLimit ? parseFaultCode(fault) : std::nullopt;
        return new SimErrlEntry(rc ? *rc : kRcBadFaultFile, file.service, file.key);
    }
    if (faultStatus == ReadStatus::Unreadable) {
        return new SimErrlEntry(kRcUnreadable, file.service, file.key);
    }
    ReadStatus status = env.readBeneath(file.base, file.relative, limit, out);
    if (status != ReadStatus::Ok) {
        return new SimErrlEntry(failureCode(status), file.service, file.key);
    }
    return nullptr;
}

ErrlEntry* callFileService(const char* service, const char* file, size_t limit, std::string& out) {
    if (CaptureHub::active()) {
        CaptureHub::recordCall(service);
    }
    const Env& env = currentEnv();
    return readServiceFile(env, {service, file, platformRoot(env), file}, limit, out);
}

}  // namespace cimpsim
