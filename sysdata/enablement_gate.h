// The enablement gate: whether this service processor serves CIM requests at all. Open only when
// the role is 1, the system is not managed by a console and the redundancy policy is off.
// Keeps no state; safe on any thread.
#ifndef CIMP_SYSDATA_ENABLEMENT_GATE_H
#define CIMP_SYSDATA_ENABLEMENT_GATE_H

#include <cstdint>

class ErrlEntry;

// Sets `enabled` on every path. Returns null when the decision was made (open or closed), or the
// entry of the platform call that failed (owned by the caller; `enabled` is then false).
ErrlEntry* cimpQueryCimEnabled(bool& enabled);

// The same decision under the passthrough service's name.
ErrlEntry* cimpQueryTovPassthroughEnabled(bool& enabled);

// The facts the gate asks, in its order.
enum class CimpGateFact { None, Role, Managed, Policy };

// The same decision with its reason, for people (cimp-platform show): the fact that closed the
// gate or whose platform call failed (None when it is open) and what the gate read.
struct CimpGateReason {
    CimpGateFact fact = CimpGateFact::None;
    ErrlEntry* entry = nullptr;  // the failed call's entry, owned by the caller; null otherwise
    unsigned char role = 0;
    uint32_t managed = 0;
};
CimpGateReason cimpExplainCimEnabled();

#endif
