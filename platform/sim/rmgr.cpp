// The simulated redundancy-policy service: <root>/rmgr/policy_enabled holds "0" or "1"; an
// empty file answers success without an answer, as a service that leaves the flag alone.
#include "platform/rmgr.h"

#include <string>

#include "platform/sim/platform_root.h"
#include "platform/sim/service_file.h"
#include "platform/sim/sim_errl_entry.h"
#include "platform/sim/sim_return_codes.h"
#include "platform/sim/value_parsers.h"

namespace {

constexpr char kService[] = "rmgrIsRedPolicyEnabled";
constexpr char kFile[] = "rmgr/policy_enabled";
// One byte more than the longest valid content, to tell it from longer files.
constexpr size_t kLimit = 3;

}  // namespace

ErrlEntry* rmgrIsRedPolicyEnabled(bool& enabled) {
    using namespace cimpsim;
    return entryOrOutOfMemory([&]() -> ErrlEntry* {
        char text[kLimit];
        size_t size = sizeof text;
        ErrlEntry* failure = readServiceFile(*platformDirectory(currentEnv(), false),
                                             {kService, "", kFile}, text, size);
        if (failure != nullptr) {
            return failure;
        }
        const PolicyValue policy = parsePolicy(std::string(text, size));
        if (policy == PolicyValue::Invalid) {
            return new SimErrlEntry(kRcUnparsable, kService, kFile);
        }
        if (policy != PolicyValue::Unset) {
            enabled = policy == PolicyValue::Enabled;
        }
        return nullptr;
    });
}
