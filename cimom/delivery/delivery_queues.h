// DeliveryQueues: the per-destination FIFOs of DeliveryService and their retry state, without
// threads or network: which destination's head goes next (round robin over the destinations
// that are due and not already sending, so that a destination's indications go one at a time,
// in order), and what becomes of a head once its send is over. Not thread-safe: the service
// guards it with its lock.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>

#include "cimom/delivery/delivery_service.h"

namespace cimhost {

class DeliveryQueues {
  public:
    using Clock = std::chrono::steady_clock;

    // One head handed out to send. `generation` tells a destination removed and added again
    // during the send from the one the job came from.
    struct Job {
        std::string key;
        std::string url;
        std::string instanceXml;
        std::uint64_t generation = 0;
    };

    enum class Added { Queued, Full, FirstFull };  // FirstFull: full now, and not just before
    // Queues at the tail of the destination (the head being sent counts toward `limit`); a
    // known destination takes the target's URL.
    Added add(const DeliveryTarget& target, std::string instanceXml, std::size_t limit);

    // The head of the next destination due at `now` and not sending; it is sending from now.
    std::optional<Job> take(Clock::time_point now);

    enum class Sent { Accepted, Refused, Interrupted };
    enum class Settled { Delivered, Retrying, GivenUp, Forgotten };
    // What becomes of `job`'s head: Accepted removes it; Refused retries it after the
    // policy's interval until its attempts are spent, then gives it up; Interrupted puts it
    // back untouched. Forgotten: its destination was removed meanwhile.
    Settled settle(const Job& job, Sent sent, Clock::time_point now, const RetryPolicy& policy);

    // Forgets the destination; how many waiting indications went with it (not the one sending).
    std::size_t remove(const std::string& key);
    // Forgets everything; how many indications were waiting.
    std::size_t clear();

    // When the earliest destination that waits for its retry interval is due.
    std::optional<Clock::time_point> nextDue() const;
    std::size_t size() const { return size_; }  // waiting and sending, all destinations
    bool sending() const { return sending_ != 0; }

  private:
    struct Destination {
        std::string url;
        std::deque<std::string> items;  // the head stays here while it is sent
        std::uint64_t generation = 0;
        bool sending = false;
        bool full = false;
        unsigned failures = 0;  // of the head
        Clock::time_point due{};
    };
    using Map = std::map<std::string, Destination>;

    bool ready(const Destination& destination, Clock::time_point now) const;

    Map destinations_;
    std::string last_;  // the key served last: round robin resumes after it
    std::uint64_t generations_ = 0;
    std::size_t size_ = 0;
    std::size_t sending_ = 0;
};

}  // namespace cimhost
