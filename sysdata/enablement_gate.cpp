#include "sysdata/enablement_gate.h"

#include "platform/drax.h"
#include "platform/errl_entry.h"
#include "platform/rmgr.h"
#include "platform/trace_point.h"
#include "platform/util_reg.h"
#include "sysdata/entry_rc.h"
#include "sysdata/gate_inputs.h"

namespace {

// The fact being asked becomes the reason before each call, so the first that closes the gate or
// fails ends the decision with its own name and later services are never asked.
CimpGateReason decide() {
    CimpGateReason why;
    unsigned int size = sizeof why.role;
    why.fact = CimpGateFact::Role;
    why.entry = UtilReg::read(kCimpRoleKey, &why.role, size, false, nullptr);
    if (why.entry != nullptr) {
        CIMP_TRACE(" %X", "cimpQueryCimEnabled: role read failed rc=0x%X", why.entry->getRC());
        return why;
    }
    if (why.role != kCimpServingRole) {
        CIMP_TRACE(" ", "cimpQueryCimEnabled: closed, role is not 1");
        return why;
    }

    why.fact = CimpGateFact::Managed;
    DraxManagedInfo info = {};
    why.entry = draxQueryDraManagedInfo(info, true);
    if (why.entry != nullptr) {
        CIMP_TRACE(" %X", "cimpQueryCimEnabled: managed-info query failed rc=0x%X",
                   why.entry->getRC());
        return why;
    }
    why.managed = info.managed;
    if (info.managed != 0) {
        CIMP_TRACE(" ", "cimpQueryCimEnabled: closed, system is managed");
        return why;
    }

    why.fact = CimpGateFact::Policy;
    // Preset so that a service which leaves the flag untouched keeps the gate closed.
    bool policyEnabled = true;
    why.entry = rmgrIsRedPolicyEnabled(policyEnabled);
    if (why.entry != nullptr) {
        CIMP_TRACE(" %X", "cimpQueryCimEnabled: redundancy-policy query failed rc=0x%X",
                   why.entry->getRC());
        return why;
    }
    if (policyEnabled) {
        CIMP_TRACE(" ", "cimpQueryCimEnabled: closed, redundancy policy enabled");
        return why;
    }
    why.fact = CimpGateFact::None;
    return why;
}

}  // namespace

ErrlEntry* cimpQueryCimEnabled(bool& enabled) {
    CIMP_TRACE(" ", "cimpQueryCimEnabled: entry");
    const CimpGateReason why = decide();
    const bool open = why.fact == CimpGateFact::None;
    enabled = open;
    CIMP_TRACE(" %X,%X", "cimpQueryCimEnabled: exit rc=0x%X enabled=%X",
               cimpEntryRcOrZero(why.entry), static_cast<uint32_t>(open ? 1 : 0));
    return why.entry;
}

ErrlEntry* cimpQueryTovPassthroughEnabled(bool& enabled) {
    CIMP_TRACE(" ", "cimpQueryTovPassthroughEnabled: entry");
    bool open = false;
    ErrlEntry* entry = cimpQueryCimEnabled(open);
    enabled = open;
    CIMP_TRACE(" %X,%X", "cimpQueryTovPassthroughEnabled: exit rc=0x%X enabled=%X",
               cimpEntryRcOrZero(entry), static_cast<uint32_t>(open ? 1 : 0));
    return entry;
}

CimpGateReason cimpExplainCimEnabled() {
    return decide();
}
