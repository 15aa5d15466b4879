#include "cimom/delivery/delivery_service.h"

#include <algorithm>
#include <condition_variable>
#include <iostream>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "cimom/delivery/delivery_queues.h"
#include "cimom/delivery/export_sender.h"
#include "cimom/wire/export_request.h"

namespace cimhost {
namespace {
using Clock = DeliveryQueues::Clock;
}  // namespace

struct DeliveryService::State {
    explicit State(DeliverySettings s) : settings(std::move(s)), policy(settings.retry) {}

    void run(ExportSender& sender);
    void settle(const DeliveryQueues::Job& job, const cimp::Outcome& sent, bool interrupted,
                std::unique_lock<std::mutex>& lock);
    void waitForWork(std::unique_lock<std::mutex>& lock);
    void tell(const std::string& line);
    // The log line, if any, that a give-up or a delivery calls for.
    std::string noteGivenUp(const DeliveryQueues::Job& job, const cimp::Outcome& why);
    std::string noteDelivered(const std::string& key);

    const DeliverySettings settings;
    mutable std::mutex mutex;
    std::condition_variable work;     // senders: something became due, or stop
    std::condition_variable drained;  // stop: the queues emptied
    DeliveryQueues queues;
    RetryPolicy policy;
    OutcomeHandler onOutcome;
    DeliveryCounters counters;
    std::uint64_t messages = 0;
    // Destinations whose last indication was given up on, and how many since the line that said
    // so: one line when a destination starts failing and one when it recovers, not one per drop.
    std::map<std::string, std::uint64_t> failing;
    bool accepting = true;
    bool quitting = false;
    std::mutex logMutex;
    std::vector<std::unique_ptr<ExportSender>> senders;
    std::vector<std::thread> threads;
};

void DeliveryService::State::tell(const std::string& line) {
    std::lock_guard<std::mutex> hold(logMutex);
    std::ostream& out = settings.log != nullptr ? *settings.log : std::cerr;
    out << "cimp-cimom: " << line << std::endl;
}

std::string DeliveryService::State::noteGivenUp(const DeliveryQueues::Job& job,
                                                const cimp::Outcome& why) {
    if (failing[job.key]++ != 0) {
        return "";
    }
    return "indication to " + job.key + " dropped after " + std::to_string(policy.attempts) +
           " retries: " + why.message() + "; further drops are counted, not logged, until it " +
           "takes one";
}

std::string DeliveryService::State::noteDelivered(const std::string& key) {
    const auto at = failing.find(key);
    if (at == failing.end()) {
        return "";
    }
    const std::uint64_t dropped = at->second;
    failing.erase(at);
    return "delivery to " + key + " resumed; " + std::to_string(dropped) +
           " indications were dropped";
}

void DeliveryService::State::waitForWork(std::unique_lock<std::mutex>& lock) {
    const std::optional<Clock::time_point> due = queues.nextDue();
    if (due) {
        work.wait_until(lock, *due);
    } else {
        work.wait(lock);
    }
}

void DeliveryService::State::run(ExportSender& sender) {
    std::unique_lock<std::mutex> lock(mutex);
    while (!quitting) {
        std::optional<DeliveryQueues::Job> job = queues.take(Clock::now());
        if (!job) {
            waitForWork(lock);
            continue;
        }
        const std::string id = std::to_string(++messages);
        lock.unlock();
        const cimp::Outcome sent =
            sender.post(job->url, exportIndicationBody(id, job->instanceXml));
        lock.lock();
        settle(*job, sent, sender.interrupted(), lock);
    }
}

void DeliveryService::State::settle(const DeliveryQueues::Job& job, const cimp::Outcome& sent,
                                    bool interrupted, std::unique_lock<std::mutex>& lock) {
    using Sent = DeliveryQueues::Sent;
    using Settled = DeliveryQueues::Settled;
    const Sent how = sent.ok() ? Sent::Accepted : interrupted ? Sent::Interrupted : Sent::Refused;
    std::string line;
    bool givenUp = false;
    switch (queues.settle(job, how, Clock::now(), policy)) {
        case Settled::Delivered:
            ++counters.delivered;
            line = noteDelivered(job.key);
            break;
        case Settled::Retrying:
            counters.retried += how == Sent::Refused ? 1 : 0;
            work.notify_one();  // its due time may be the earliest now
            break;
        case Settled::Forgotten:
            ++counters.dropped;
            break;
        case Settled::GivenUp:
            ++counters.dropped;
            line = noteGivenUp(job, sent);
            givenUp = true;
            break;
    }
    if (queues.size() == 0) {
        drained.notify_all();
    }
    if (line.empty() && !givenUp) {
        return;
    }
    // A line without a give-up says the destination recovered.
    const OutcomeHandler handler = onOutcome;
    lock.unlock();  // the log and the handler may take their time; enqueue must not wait
    if (!line.empty()) {
        tell(line);
    }
    if (handler) {
        handler(job.key, givenUp);
    }
    lock.lock();
}

DeliveryService::DeliveryService(DeliverySettings settings)
    : state_(std::make_unique<State>(std::move(settings))) {
    for (unsigned i = 0; i < std::max(1u, state_->settings.senders); ++i) {
        state_->senders.push_back(std::make_unique<ExportSender>(state_->settings));
        state_->threads.emplace_back([this, s = state_->senders.back().get()] { state_->run(*s); });
    }
}

DeliveryService::~DeliveryService() {
    stop(std::chrono::milliseconds(0));
}

bool DeliveryService::enqueue(const DeliveryTarget& target, std::string instanceXml) {
    instanceXml.shrink_to_fit();  // it may wait long in the queue: keep no spare capacity
    std::unique_lock<std::mutex> lock(state_->mutex);
    if (!state_->accepting) {
        ++state_->counters.dropped;
        return false;
    }
    const DeliveryQueues::Added added =
        state_->queues.add(target, std::move(instanceXml), state_->settings.queueLimit);
    if (added != DeliveryQueues::Added::Queued) {
        ++state_->counters.dropped;
        lock.unlock();
        if (added == DeliveryQueues::Added::FirstFull) {
            state_->tell("queue for " + target.key + " is full (" +
                         std::to_string(state_->settings.queueLimit) +
                         "); newer indications are dropped until it drains");
        }
        return false;
    }
    ++state_->counters.generated;
    state_->work.notify_one();
    return true;
}

void DeliveryService::setRetryPolicy(RetryPolicy policy) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->policy = policy;
}

RetryPolicy DeliveryService::retryPolicy() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->policy;
}

void DeliveryService::setOutcomeHandler(OutcomeHandler handler) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->onOutcome = std::move(handler);
}

void DeliveryService::removeTarget(const std::string& key) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->counters.dropped += state_->queues.remove(key);
    state_->failing.erase(key);
    if (state_->queues.size() == 0) {
        state_->drained.notify_all();
    }
}

DeliveryCounters DeliveryService::counters() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    DeliveryCounters counters = state_->counters;
    counters.queued = state_->queues.size();
    return counters;
}

std::size_t DeliveryService::stop(std::chrono::milliseconds grace) {
    std::unique_lock<std::mutex> lock(state_->mutex);
    if (!state_->accepting) {
        return 0;  // stopped, or stopping on another thread
    }
    state_->accepting = false;
    state_->drained.wait_for(lock, grace, [this] { return state_->queues.size() == 0; });
    state_->quitting = true;
    lock.unlock();
    state_->work.notify_all();
    for (const auto& sender : state_->senders) {
        sender->interrupt();
    }
    for (std::thread& thread : state_->threads) {
        thread.join();
    }
    lock.lock();
    const std::size_t left = state_->queues.clear();
    state_->counters.dropped += left;
    return left;
}

}  // namespace cimhost
