#include "cimom/dispatch/enumeration_context_table.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "base/text_case.h"

namespace cimhost {
namespace {

std::size_t sizeOf(const std::vector<std::string>& items, std::size_t from) {
    return std::accumulate(
        items.begin() + static_cast<std::ptrdiff_t>(from), items.end(), std::size_t{0},
        [](std::size_t sum, const std::string& item) { return sum + item.size(); });
}

Status invalidContext(const std::string& context) {
    return Status::withCode(CimCode::InvalidEnumerationContext,
                            "enumeration context " + context + " is not open");
}

}  // namespace

EnumerationContextTable::EnumerationContextTable(EnumerationLimits limits, Now now)
    : limits_(limits), now_(std::move(now)), ids_(std::random_device()()) {}

Status EnumerationContextTable::checkTimeout(std::optional<std::uint32_t> requested) const {
    if (requested && (*requested == 0 || *requested > limits_.maxTimeout)) {
        return Status::withCode(
            CimCode::InvalidOperationTimeout,
            "OperationTimeout must be 1 to " + std::to_string(limits_.maxTimeout) + " seconds");
    }
    return Status::ok();
}

void EnumerationContextTable::take(Entry& entry, std::uint32_t count, EnumerationBatch& batch) {
    const std::size_t end = std::min(entry.items.size(), entry.next + std::size_t{count});
    for (; entry.next < end; ++entry.next) {
        batch.items.push_back(std::move(entry.items[entry.next]));
    }
    batch.endOfSequence = entry.next == entry.items.size();
}

EnumerationBatch EnumerationContextTable::open(EnumerationKind kind, const std::string& nameSpace,
                                               std::vector<std::string> items,
                                               std::optional<std::uint32_t> timeout,
                                               std::uint32_t maxObjectCount) {
    Entry entry{kind, nameSpace, std::move(items),
                0,    0,         std::chrono::seconds(timeout.value_or(limits_.defaultTimeout)),
                {}};
    EnumerationBatch batch;
    take(entry, maxObjectCount, batch);
    if (batch.endOfSequence) {
        return batch;
    }
    entry.bytes = sizeOf(entry.items, entry.next);
    const Clock::time_point now = now_();
    entry.deadline = now + entry.timeout;
    std::lock_guard<std::mutex> lock(mutex_);
    dropExpired(now);
    if (entries_.size() >= limits_.maxOpen || bytes_ + entry.bytes > limits_.maxBytes) {
        return EnumerationBatch::refused(
            Status::withCode(CimCode::ServerLimitsExceeded,
                             "too many open enumerations; pull or close one, or retry "
                             "with a larger MaxObjectCount"));
    }
    do {
        batch.context = std::to_string(ids_());
    } while (entries_.count(batch.context) != 0);
    bytes_ += entry.bytes;
    entries_.emplace(batch.context, std::move(entry));
    return batch;
}

EnumerationBatch EnumerationContextTable::pull(const std::string& context, EnumerationKind kind,
                                               const std::string& nameSpace,
                                               std::uint32_t maxObjectCount) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Entries::iterator found = find(context, nameSpace);
    if (found == entries_.end()) {
        return EnumerationBatch::refused(invalidContext(context));
    }
    if (found->second.kind != kind) {
        return EnumerationBatch::refused(Status::withCode(
            CimCode::InvalidEnumerationContext,
            "enumeration context " + context + " was opened for another kind of pull"));
    }
    EnumerationBatch batch;
    Entry& entry = found->second;
    take(entry, maxObjectCount, batch);
    if (batch.endOfSequence) {
        erase(found);
        return batch;
    }
    const std::size_t left = sizeOf(entry.items, entry.next);
    bytes_ -= entry.bytes - left;
    entry.bytes = left;
    entry.deadline = now_() + entry.timeout;
    batch.context = context;
    return batch;
}

Status EnumerationContextTable::close(const std::string& context, const std::string& nameSpace) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Entries::iterator found = find(context, nameSpace);
    if (found == entries_.end()) {
        return invalidContext(context);
    }
    erase(found);
    return Status::ok();
}

std::size_t EnumerationContextTable::openCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return entries_.size();
}

EnumerationContextTable::Entries::iterator EnumerationContextTable::find(
    const std::string& context, const std::string& nameSpace) {
    dropExpired(now_());
    const Entries::iterator found = entries_.find(context);
    const bool open =
        found != entries_.end() && cimp::equalsIgnoreCase(found->second.nameSpace, nameSpace);
    return open ? found : entries_.end();
}

void EnumerationContextTable::dropExpired(Clock::time_point now) {
    for (auto at = entries_.begin(); at != entries_.end();) {
        at = at->second.deadline <= now ? erase(at) : std::next(at);
    }
}

EnumerationContextTable::Entries::iterator EnumerationContextTable::erase(Entries::iterator at) {
    bytes_ -= at->second.bytes;
    return entries_.erase(at);
}

}  // namespace cimhost
