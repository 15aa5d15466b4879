#include "tools/cimp-platform/serving_state.h"

#include <stdlib.h>

#include <memory>

#include "base/absolute_path.h"
#include "platform/errl_entry.h"
#include "platform/trace_point.h"
#include "sysdata/enablement_gate.h"
#include "sysdata/gate_inputs.h"
#include "tools/cimp-platform/value_codec.h"

// The gate traces through the provider's descriptor; this tool opens no trace buffer, so its
// traces go nowhere and the platform's trace ring shows only what providers wrote.
trace_desc_t g_cimpTd = TRACE_DESC_INVALID;

namespace cimpcli {

namespace {

const char* nameOf(CimpGateFact fact) {
    switch (fact) {
        case CimpGateFact::Role:
            return "role read";
        case CimpGateFact::Managed:
            return "managed-info query";
        default:
            return "redundancy-policy query";
    }
}

std::string closedBy(const CimpGateReason& why) {
    const std::string serving(1, static_cast<char>(kCimpServingRole));
    switch (why.fact) {
        case CimpGateFact::Role:
            return "role is " + displayValue(std::string(1, static_cast<char>(why.role))) +
                   ", not " + displayValue(serving);
        case CimpGateFact::Managed:
            return "managed by a console: managed = " + std::to_string(why.managed);
        default:
            return "redundancy policy not reported off";
    }
}

}  // namespace

std::string servingState(const std::string& root) {
    // The platform's services read the root named here, as a provider on this root would.
    setenv("CIMP_PLATFORM_ROOT", cimp::absolutePath(root).c_str(), 1);
    const CimpGateReason why = cimpExplainCimEnabled();
    const std::unique_ptr<ErrlEntry> entry(why.entry);
    if (why.fact == CimpGateFact::None) {
        return "on";
    }
    if (entry) {
        return std::string("off (") + nameOf(why.fact) + " fails with rc " +
               formatReturnCode(entry->getRC()) + ")";
    }
    return "off (" + closedBy(why) + ")";
}

}  // namespace cimpcli
