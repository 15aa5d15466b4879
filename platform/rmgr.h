// Platform redundancy-policy service (closed on the service processor; simulated in platform/sim).
#ifndef CIMP_PLATFORM_RMGR_H
#define CIMP_PLATFORM_RMGR_H

class ErrlEntry;

// On success sets `enabled` to whether the redundancy policy is enabled and returns null; returns
// an error-log entry owned by the caller on failure.
ErrlEntry* rmgrIsRedPolicyEnabled(bool& enabled);

#endif
