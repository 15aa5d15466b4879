// The error-log entries the simulated platform creates.
//
// A SimErrlEntry remembers which service and key made it and when, so that its committed log
// line says where the failure came from. The creator hands the entry to its caller, who owns it
// (see platform/errl_entry.h). It is the only kind of entry the simulated platform makes or
// commits; tests get theirs from a service with an injected fault.
#ifndef CIMP_PLATFORM_SIM_SIM_ERRL_ENTRY_H
#define CIMP_PLATFORM_SIM_SIM_ERRL_ENTRY_H

#include <cstdint>
#include <new>
#include <string>

#include "platform/errl_entry.h"

namespace cimpsim {

class SimErrlEntry : public ErrlEntry {
  public:
    // `service` names the platform call ("UtilReg::read"), `key` what it was asked for (made
    // printable here, so hostile keys are safe to log).
    SimErrlEntry(uint32_t rc, const char* service, const char* key);

    // The entry of a call that ran out of memory: it has no origin, so making it allocates nothing
    // but the entry. Null only when even that does not fit.
    static SimErrlEntry* outOfMemory() noexcept;

    // "<service> <key>", or "" for an out-of-memory entry.
    const std::string& origin() const { return origin_; }
    uint64_t createdNanos() const { return createdNanos_; }

  private:
    explicit SimErrlEntry(uint32_t rc) noexcept;

    std::string origin_;
    uint64_t createdNanos_;
};

// Runs a platform call that answers with an entry, so that no exception leaves the platform: a
// call that runs out of memory answers with an out-of-memory entry instead.
template <typename Call>
ErrlEntry* entryOrOutOfMemory(Call&& call) noexcept {
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return SimErrlEntry::outOfMemory();
    }
}

}  // namespace cimpsim

#endif
