// The error-log entries the simulated platform creates.
//
// A SimErrlEntry remembers which service and key made it and when, so that its committed log
// line says where the failure came from. The creator hands the entry to its caller, who owns it
// (see platform/errl_entry.h). It is the only kind of entry the simulated platform makes or
// commits; tests get theirs from a service with an injected fault.
#ifndef CIMP_PLATFORM_SIM_SIM_ERRL_ENTRY_H
#define CIMP_PLATFORM_SIM_SIM_ERRL_ENTRY_H

#include <cstdint>
#include <string>

#include "platform/errl_entry.h"

namespace cimpsim {

class SimErrlEntry : public ErrlEntry {
  public:
    // `service` names the platform call ("UtilReg::read"), `key` what it was asked for (made
    // printable here, so hostile keys are safe to log).
    SimErrlEntry(uint32_t rc, const char* service, const char* key);

    // "<service> <key>".
    const std::string& origin() const { return origin_; }
    uint64_t createdNanos() const { return createdNanos_; }

  private:
    std::string origin_;
    uint64_t createdNanos_;
};

}  // namespace cimpsim

#endif
