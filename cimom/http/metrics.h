// Metrics: what the daemon counts for GET /metrics, and its Prometheus text exposition.
//
// Counting is on the request path, so it takes no lock and allocates nothing: fixed arrays of
// relaxed atomics indexed by operation, CIM status and latency bucket. Only a scrape walks them
// and builds text, so when nobody scrapes the cost is a few atomic increments per request. Counts
// are consistent per counter, not across counters (a scrape may see a request counted but its
// latency not yet): fine for rates. Thread-safe.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "cimom/cim/operation.h"
#include "cimom/cim/status.h"
#include "cimom/delivery/delivery_service.h"

namespace cimhost {

class Metrics {
  public:
    // Asked at each scrape: how many entries the platform's error log holds.
    using ErrlCount = std::function<std::uint64_t()>;

    explicit Metrics(ErrlCount errlEntries);
    Metrics(const Metrics&) = delete;
    Metrics& operator=(const Metrics&) = delete;

    // One answered CIM operation (a CIM result or a CIM error; not a refused HTTP request).
    void recordOperation(OperationKind kind, CimCode code, std::chrono::microseconds latency);

    void requestStarted() { inFlight_.fetch_add(1, std::memory_order_relaxed); }
    void requestFinished() { inFlight_.fetch_sub(1, std::memory_order_relaxed); }
    void connectionOpened() { connections_.fetch_add(1, std::memory_order_relaxed); }
    void connectionClosed() { connections_.fetch_sub(1, std::memory_order_relaxed); }

    // Registrations whose provider could not be loaded or bound, at start.
    void setProviderLoadFailures(unsigned failures) { providerFailures_ = failures; }

    // Indications from now on: their counts by outcome and the queue depth join the exposition.
    // `delivery` outlives this.
    void watchDelivery(const DeliveryService* delivery) { delivery_.store(delivery); }

    // The exposition text (text/plain; version=0.0.4).
    std::string exposition() const;

    // Unsupported is the last kind; a kind added beyond it would be counted as Unsupported.
    static constexpr std::size_t kOperations =
        static_cast<std::size_t>(OperationKind::Unsupported) + 1;
    // Every code DSP0200 defines, then one slot for any other.
    static constexpr std::size_t kCodes = kHighestCimCode + 2;
    // Upper bounds of the latency buckets in microseconds; one more bucket holds the rest.
    static constexpr std::array<std::uint64_t, 12> kBucketMicros = {
        100, 250, 500, 1000, 2500, 5000, 10000, 25000, 50000, 100000, 250000, 1000000};

  private:
    using Counter = std::atomic<std::uint64_t>;
    struct Latency {
        std::array<Counter, kBucketMicros.size() + 1> buckets{};
        Counter sumMicros{0};
    };

    void appendRequests(std::string& out) const;
    void appendLatencies(std::string& out) const;
    void appendIndications(std::string& out) const;

    std::array<std::array<Counter, kCodes>, kOperations> requests_{};
    std::array<Latency, kOperations> latencies_{};
    std::atomic<std::int64_t> inFlight_{0};
    std::atomic<std::int64_t> connections_{0};
    unsigned providerFailures_ = 0;
    std::atomic<const DeliveryService*> delivery_{nullptr};
    const ErrlCount errlEntries_;
    const std::chrono::system_clock::time_point started_;
};

}  // namespace cimhost
