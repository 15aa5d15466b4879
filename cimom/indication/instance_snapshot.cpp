#include "cimom/indication/instance_snapshot.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "broker/cmpi_read.h"
#include "base/text_case.h"

namespace cimhost {
namespace {

// Names lowered and in order, each with its value as a literal: equal exactly when the values
// are, whatever order and case the provider gave the names in.
std::string namedText(const cimbroker::BorrowedNamedData& named) {
    std::vector<std::pair<std::string, std::string>> entries;
    entries.reserve(named.size());
    for (const auto& entry : named) {
        entries.emplace_back(cimp::lowerCase(entry.first),
                             cimbroker::dataToLiteral(entry.second));
    }
    std::sort(entries.begin(), entries.end());
    std::string text;
    for (const auto& entry : entries) {
        text.append(entry.first).append("=").append(entry.second).append(",");
    }
    return text;
}

std::string identityOf(const CMPIInstance* instance) {
    const CMPIObjectPath* path = instance->ft->getObjectPath(instance, nullptr);
    return cimp::lowerCase(cimbroker::borrowClassName(path)) + "." +
           namedText(cimbroker::borrowKeys(path));
}

OwnedInstance cloneOf(const CMPIInstance* instance) {
    return OwnedInstance(instance->ft->clone(instance, nullptr));
}

}  // namespace

std::vector<LifecycleChange> InstanceSnapshot::update(
    const std::vector<const CMPIInstance*>& current) {
    std::map<std::string, Seen> next;
    std::vector<LifecycleChange> changes;
    for (const CMPIInstance* instance : current) {
        std::string identity = identityOf(instance);
        if (next.count(identity) != 0) {
            continue;
        }
        std::string values = namedText(cimbroker::borrowProperties(instance));
        const auto old = seen_.find(identity);
        Seen kept;
        if (old != seen_.end() && old->second.values == values) {
            kept = std::move(old->second);
        } else {
            OwnedInstance before = old != seen_.end() ? std::move(old->second.instance) : nullptr;
            kept = Seen{std::move(values), cloneOf(instance)};
            if (hasBaseline_) {
                changes.push_back(LifecycleChange{instance, std::move(before)});
            }
        }
        if (old != seen_.end()) {
            seen_.erase(old);
        }
        next.emplace(std::move(identity), std::move(kept));
    }
    if (hasBaseline_) {
        for (auto& gone : seen_) {
            changes.push_back(LifecycleChange{nullptr, std::move(gone.second.instance)});
        }
    }
    seen_ = std::move(next);
    hasBaseline_ = true;
    return changes;
}

void InstanceSnapshot::forget() {
    seen_.clear();
    hasBaseline_ = false;
}

}  // namespace cimhost
