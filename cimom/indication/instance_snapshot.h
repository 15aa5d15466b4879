// InstanceSnapshot: what the last poll of one watched class saw, kept between polls and so
// outside any request scope. Per instance: its path as an identity (class and key names without
// regard to case, keys in name order), its property values as text to tell a change, and a
// caller-owned clone of the instance, the SourceInstance of a later deletion or the
// PreviousInstance of a later modification. Only new or changed instances are cloned.
//
// Used by one thread; the clones belong to the Runtime that made the instances, which must
// outlive the snapshot.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cmpidt.h"
#include "cmpift.h"

namespace cimhost {

// A clone returned to its Runtime when the owner goes.
struct ReleaseInstance {
    void operator()(CMPIInstance* instance) const { instance->ft->release(instance); }
};
using OwnedInstance = std::unique_ptr<CMPIInstance, ReleaseInstance>;

// One instance that appeared, vanished or changed between two polls: `now` is the poll's
// instance (null when it vanished), `before` the one seen last (null when it is new).
struct LifecycleChange {
    const CMPIInstance* now = nullptr;
    OwnedInstance before;
};

class InstanceSnapshot {
  public:
    // Whether a poll has been kept since the class became watched or the last forget().
    bool hasBaseline() const { return hasBaseline_; }

    // Keeps `current` (one complete poll) in place of what was kept and returns what changed:
    // the new and changed instances in the poll's order, then the vanished ones; nothing on the
    // first poll, which only sets the baseline. A path that appears twice in one poll counts
    // once, as first seen. `now` in the result is the element of `current`.
    std::vector<LifecycleChange> update(const std::vector<const CMPIInstance*>& current);

    // Drops what was kept; the next poll is a baseline again.
    void forget();

    std::size_t size() const { return seen_.size(); }

  private:
    struct Seen {
        std::string values;
        OwnedInstance instance;
    };

    bool hasBaseline_ = false;
    std::map<std::string, Seen> seen_;  // by identity
};

}  // namespace cimhost
