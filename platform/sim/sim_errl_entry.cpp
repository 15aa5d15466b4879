// SimErrlEntry and the members of the platform's ErrlEntry.
#include "platform/sim/sim_errl_entry.h"

#include <unistd.h>

#include "platform/sim/env.h"
#include "platform/sim/errl_log.h"
#include "platform/sim/platform_root.h"
#include "platform/sim/registry_key.h"
#include "platform/sim/sim_return_codes.h"

namespace cimpsim {

SimErrlEntry::SimErrlEntry(uint32_t rc, const char* service, const char* key)
    : ErrlEntry(rc),
      origin_(std::string(service) + " " + printableKey(key)),
      createdNanos_(currentEnv().nowNanos()) {}

SimErrlEntry::SimErrlEntry(uint32_t rc) noexcept : ErrlEntry(rc), createdNanos_(0) {}

SimErrlEntry* SimErrlEntry::outOfMemory() noexcept {
    return new (std::nothrow) SimErrlEntry(kRcOutOfMemory);
}

}  // namespace cimpsim

ErrlEntry::~ErrlEntry() = default;

uint32_t ErrlEntry::getRC() const {
    return iv_rc;
}

// Never fails the caller: an entry that cannot be logged for want of memory is lost.
void ErrlEntry::commit(unsigned short severity, unsigned short actions) {
    // Every entry of this platform is made by one of its services (the constructor is protected).
    const auto& entry = static_cast<const cimpsim::SimErrlEntry&>(*this);
    const cimpsim::Env& env = cimpsim::currentEnv();
    try {
        const cimpsim::ErrlLogRecord record{iv_rc, severity, actions, entry.origin(),
                                            entry.createdNanos()};
        // Numbered after the log's last line.
        cimpsim::platformDirectory(env, true)->appendLocked(
            "errl/log", cimpsim::kErrlTailBytes, [&](const std::string& tail) {
                // A last line cut short (a full disk, a hand edit) must not swallow this entry.
                const bool cut = !tail.empty() && tail.back() != '\n';
                return (cut ? "\n" : "") +
                       cimpsim::formatErrlLine(cimpsim::lastSequence(tail) + 1, env.nowNanos(),
                                               static_cast<long>(getpid()), record);
            });
    } catch (const std::bad_alloc&) {
        // Not logged; the caller goes on as after any commit.
    }
}
