// SimErrlEntry and the members of the platform's ErrlEntry.
#include "platform/sim/sim_errl_entry.h"

#include "platform/sim/capture_hub.h"
#include "platform/sim/env.h"
#include "platform/sim/errl_log.h"
#include "platform/sim/registry_key.h"

namespace cimpsim {

SimErrlEntry::SimErrlEntry(uint32_t rc, const char* service, const char* key)
    : ErrlEntry(rc),
      origin_(std::string(service) + " " + printableKey(key)),
      createdNanos_(currentEnv().nowNanos()) {
    if (CaptureHub::active()) {
        CaptureHub::recordErrl({ErrlEvent::Kind::Created, this, rc, 0, 0, origin_});
    }
}

}  // namespace cimpsim

namespace {

// Entries made outside the simulated platform (test doubles) have no origin.
const cimpsim::SimErrlEntry* simulated(const ErrlEntry* entry) {
    return dynamic_cast<const cimpsim::SimErrlEntry*>(entry);
}

}  // namespace

ErrlEntry::~ErrlEntry() {
    if (cimpsim::CaptureHub::active()) {
        // The derived part is gone by now, so the origin is not available here.
        cimpsim::CaptureHub::recordErrl(
            {cimpsim::ErrlEvent::Kind::Deleted, this, iv_rc, 0, 0, std::string()});
    }
}

uint32_t ErrlEntry::getRC() const {
    return iv_rc;
}

void ErrlEntry::commit(unsigned short severity, unsigned short actions) {
    const cimpsim::SimErrlEntry* entry = simulated(this);
    cimpsim::ErrlLogRecord record{iv_rc, severity, actions,
                                  entry != nullptr ? entry->origin() : std::string(),
                                  entry != nullptr ? entry->createdNanos() : 0};
    if (cimpsim::CaptureHub::active()) {
        cimpsim::CaptureHub::recordErrl(
            {cimpsim::ErrlEvent::Kind::Committed, this, iv_rc, severity, actions, record.origin});
    }
    cimpsim::appendErrlRecord(cimpsim::currentEnv(), record);
}
