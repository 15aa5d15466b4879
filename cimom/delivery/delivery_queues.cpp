#include "cimom/delivery/delivery_queues.h"

#include <utility>

namespace cimhost {

DeliveryQueues::Added DeliveryQueues::add(const DeliveryTarget& target, std::string instanceXml,
                                          std::size_t limit) {
    auto [at, added] = destinations_.try_emplace(target.key);
    Destination& destination = at->second;
    if (added) {
        destination.generation = ++generations_;
    }
    destination.url = target.url;
    if (destination.items.size() >= limit) {
        const bool first = !destination.full;
        destination.full = true;
        return first ? Added::FirstFull : Added::Full;
    }
    destination.full = false;
    destination.items.push_back(std::move(instanceXml));
    ++size_;
    return Added::Queued;
}

bool DeliveryQueues::ready(const Destination& destination, Clock::time_point now) const {
    return !destination.sending && !destination.items.empty() && destination.due <= now;
}

std::optional<DeliveryQueues::Job> DeliveryQueues::take(Clock::time_point now) {
    auto at = destinations_.upper_bound(last_);
    for (std::size_t seen = 0; seen < destinations_.size(); ++seen, ++at) {
        if (at == destinations_.end()) {
            at = destinations_.begin();
        }
        Destination& destination = at->second;
        if (ready(destination, now)) {
            destination.sending = true;
            ++sending_;
            last_ = at->first;
            return Job{at->first, destination.url, destination.items.front(),
                       destination.generation};
        }
    }
    return std::nullopt;
}

DeliveryQueues::Settled DeliveryQueues::settle(const Job& job, Sent sent, Clock::time_point now,
                                               const RetryPolicy& policy) {
    const auto at = destinations_.find(job.key);
    if (at == destinations_.end() || at->second.generation != job.generation) {
        return sent == Sent::Accepted ? Settled::Delivered : Settled::Forgotten;
    }
    Destination& destination = at->second;
    destination.sending = false;
    --sending_;
    if (sent == Sent::Interrupted) {
        return Settled::Retrying;
    }
    if (sent == Sent::Refused && destination.failures < policy.attempts) {
        ++destination.failures;
        destination.due = now + policy.interval;
        return Settled::Retrying;
    }
    destination.items.pop_front();
    destination.failures = 0;
    --size_;
    return sent == Sent::Accepted ? Settled::Delivered : Settled::GivenUp;
}

std::size_t DeliveryQueues::remove(const std::string& key) {
    const auto at = destinations_.find(key);
    if (at == destinations_.end()) {
        return 0;
    }
    const std::size_t sendingNow = at->second.sending ? 1 : 0;
    const std::size_t waiting = at->second.items.size() - sendingNow;
    size_ -= at->second.items.size();
    sending_ -= sendingNow;
    destinations_.erase(at);
    return waiting;
}

std::size_t DeliveryQueues::clear() {
    const std::size_t left = size_;
    destinations_.clear();
    size_ = 0;
    sending_ = 0;
    return left;
}

std::optional<DeliveryQueues::Clock::time_point> DeliveryQueues::nextDue() const {
    std::optional<Clock::time_point> earliest;
    for (const auto& [key, destination] : destinations_) {
        if (!destination.sending && !destination.items.empty() &&
            (!earliest || destination.due < *earliest)) {
            earliest = destination.due;
        }
    }
    return earliest;
}

}  // namespace cimhost
