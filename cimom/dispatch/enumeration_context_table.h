// EnumerationContextTable: the open enumerations of the pull operations (DSP0200 1.3). An open
// operation produces all its objects at once, already encoded as CIM-XML, and the table keeps what
// the first answer did not carry, so a context outlives the request (and the CMPI objects) that
// made it. What a client can make the table hold is bounded: a number of open contexts and a
// total of encoded bytes; a context not pulled within its operation timeout is dropped, which is
// how the contexts of a client that went away are reclaimed (on the next use of the table).
//
// Thread-safe: every member may be called from any number of request threads at once.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "cimom/cim/enumeration_batch.h"
#include "cimom/cim/status.h"

namespace cimhost {

enum class EnumerationKind { InstancesWithPath, Paths, Instances };

struct EnumerationLimits {
    std::size_t maxOpen = 64;
    std::size_t maxBytes = 64u << 20;   // encoded objects kept by all contexts together
    std::uint32_t defaultTimeout = 60;  // seconds, when the client sends none
    std::uint32_t maxTimeout = 600;     // seconds; 0 ("never") is refused
};

class EnumerationContextTable {
  public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;

    explicit EnumerationContextTable(EnumerationLimits limits = EnumerationLimits(),
                                     Now now = Clock::now);

    // The timeout an open operation will use, or InvalidOperationTimeout; checked before any
    // provider is called.
    Status checkTimeout(std::optional<std::uint32_t> requested) const;

    // Answers the open operation with the first `maxObjectCount` of `items` and keeps the rest;
    // `timeout` is one checkTimeout accepted.
    EnumerationBatch open(EnumerationKind kind, const std::string& nameSpace,
                          std::vector<std::string> items, std::optional<std::uint32_t> timeout,
                          std::uint32_t maxObjectCount);
    EnumerationBatch pull(const std::string& context, EnumerationKind kind,
                          const std::string& nameSpace, std::uint32_t maxObjectCount);
    Status close(const std::string& context, const std::string& nameSpace);

    std::size_t openCount() const;

  private:
    struct Entry {
        EnumerationKind kind;
        std::string nameSpace;
        std::vector<std::string> items;
        std::size_t next = 0;  // first item not yet answered
        std::size_t bytes = 0;
        std::chrono::seconds timeout;
        Clock::time_point deadline;
    };
    using Entries = std::map<std::string, Entry>;

    void dropExpired(Clock::time_point now);
    Entries::iterator erase(Entries::iterator at);  // the entry after it
    // Moves up to `count` items of `entry` into `batch`.
    static void take(Entry& entry, std::uint32_t count, EnumerationBatch& batch);
    // The context open in `nameSpace`, once the expired ones are dropped; end() when none is.
    Entries::iterator find(const std::string& context, const std::string& nameSpace);

    const EnumerationLimits limits_;
    const Now now_;
    mutable std::mutex mutex_;
    Entries entries_;
    std::size_t bytes_ = 0;
    std::mt19937_64 ids_;
};

}  // namespace cimhost
