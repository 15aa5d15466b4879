#include "sysdata/enablement_gate.h"

#include <cstdint>

#include "platform/drax.h"
#include "platform/errl_entry.h"
#include "platform/rmgr.h"
#include "platform/trace_point.h"
#include "platform/util_reg.h"
#include "sysdata/entry_rc.h"
#include "sysdata/gate_inputs.h"

namespace {

// Asks the three platform facts in order and stops at the first that closes the gate or fails, so
// later services are never asked. `open` is written only when every fact allows serving.
ErrlEntry* decide(bool& open) {
    unsigned char role = 0;
    unsigned int size = sizeof role;
    ErrlEntry* entry = UtilReg::read(kCimpRoleKey, &role, size, false, nullptr);
    if (entry != nullptr) {
        CIMP_TRACE(" %X", "cimpQueryCimEnabled: role read failed rc=0x%X", entry->getRC());
        return entry;
    }
    if (role != kCimpServingRole) {
        CIMP_TRACE(" ", "cimpQueryCimEnabled: closed, role is not 1");
        return nullptr;
    }

    DraxManagedInfo info = {};
    entry = draxQueryDraManagedInfo(info, true);
    if (entry != nullptr) {
        CIMP_TRACE(" %X", "cimpQueryCimEnabled: managed-info query failed rc=0x%X", entry->getRC());
        return entry;
    }
    if (info.managed != 0) {
        CIMP_TRACE(" ", "cimpQueryCimEnabled: closed, system is managed");
        return nullptr;
    }

    // Preset so that a service which leaves the flag untouched keeps the gate closed.
    bool policyEnabled = true;
    entry = rmgrIsRedPolicyEnabled(policyEnabled);
    if (entry != nullptr) {
        CIMP_TRACE(" %X", "cimpQueryCimEnabled: redundancy-policy query failed rc=0x%X",
                   entry->getRC());
        return entry;
    }
    if (policyEnabled) {
        CIMP_TRACE(" ", "cimpQueryCimEnabled: closed, redundancy policy enabled");
        return nullptr;
    }

    open = true;
    return nullptr;
}

}  // namespace

ErrlEntry* cimpQueryCimEnabled(bool& enabled) {
    CIMP_TRACE(" ", "cimpQueryCimEnabled: entry");
    bool open = false;
    ErrlEntry* entry = decide(open);
    enabled = open;
    CIMP_TRACE(" %X,%X", "cimpQueryCimEnabled: exit rc=0x%X enabled=%X", cimpEntryRcOrZero(entry),
               static_cast<uint32_t>(open ? 1 : 0));
    return entry;
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
