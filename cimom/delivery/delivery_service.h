// DeliveryService: sends indications to listener destinations as CIM-XML export requests
// (DSP0200 ExportIndication) over HTTP or HTTPS. One ordered, bounded queue per destination;
// a fixed number of sender threads and connections whatever the number of destinations; a
// failed send is retried as the retry policy says, then dropped, counted, logged and reported
// to the outcome handler. Knows nothing of filters or subscriptions: what to send, and where,
// is decided above.
//
// Thread-safe: any thread may enqueue, change the policy or remove a destination at any time.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

namespace cimhost {

// One listener destination: `key` names its queue (the destination instance's path as text);
// `url` is where its export requests go.
struct DeliveryTarget {
    std::string key;
    std::string url;
};

// DSP1054's DeliveryRetryAttempts and DeliveryRetryInterval, with its defaults. The interval is
// held in milliseconds so that tests can retry quickly; the service's property gives seconds,
// which convert without a cast.
struct RetryPolicy {
    unsigned attempts = 3;
    std::chrono::milliseconds interval = std::chrono::seconds(20);
};

struct DeliveryCounters {
    std::uint64_t generated = 0;  // accepted by enqueue
    std::uint64_t delivered = 0;
    std::uint64_t retried = 0;  // sends repeated after a failure
    std::uint64_t dropped = 0;  // queue full, retries spent, or left at stop
    std::size_t queued = 0;     // waiting now, all destinations together
};

struct DeliverySettings {
    std::size_t queueLimit = 1000;  // per destination; beyond, the newest is dropped
    unsigned senders = 4;           // threads, and so connections, in all
    std::chrono::milliseconds connectTimeout{5000};
    std::chrono::milliseconds sendTimeout{10000};
    std::string caFile;      // empty: the system's store
    bool verifyPeer = true;  // false only for a test lab
    RetryPolicy retry;
    std::ostream* log = nullptr;  // where drops are told; null: stderr
};

class DeliveryService {
  public:
    // Called on a sender thread once per indication given up on (retries spent), `givenUp`
    // true, and when a destination whose indications were given up on takes one again.
    using OutcomeHandler = std::function<void(const std::string& key, bool givenUp)>;

    explicit DeliveryService(DeliverySettings settings);
    ~DeliveryService();  // stops at once; see stop for a grace period
    DeliveryService(const DeliveryService&) = delete;
    DeliveryService& operator=(const DeliveryService&) = delete;

    // Queues `instanceXml` (one INSTANCE element, SequenceContext and SequenceNumber already
    // set) for `target`, behind everything queued for it before. False, counted as dropped,
    // when that queue is full or the service is stopping.
    bool enqueue(const DeliveryTarget& target, std::string instanceXml);

    void setRetryPolicy(RetryPolicy policy);
    RetryPolicy retryPolicy() const;
    void setOutcomeHandler(OutcomeHandler handler);

    // Forgets the destination and drops what is queued for it (a deleted destination).
    void removeTarget(const std::string& key);

    DeliveryCounters counters() const;

    // Sends what is queued for at most `grace`, then stops every sender; what is left is
    // dropped. Returns how many indications were left.
    std::size_t stop(std::chrono::milliseconds grace);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace cimhost
