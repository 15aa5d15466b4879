#include "cimom/delivery/delivery_service.h"

#include <algorithm>
#include <condition_variable>
#include <iostream>
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

    const DeliverySettings settings;
    mutable std::mutex mutex;
    std::condition_variable work;     // senders: something became due, or stop
    std::condition_variable drained;  // stop: the queues emptied
    DeliveryQueues queues;
    RetryPolicy policy;
    FailureHandler onFailure;
    DeliveryCounters counters;
    std::uint64_t messages = 0;
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
        const cimp::Outcome sent = sender.post(job->url, exportIndicationBody(id, job->instanceXml));
        lock.lock();
        settle(*job, sent, sender.interrupted(), lock);
    }
}

void DeliveryService::State::settle(const DeliveryQueues::Job& job, const cimp::Outcome& sent,
                                    bool interrupted, std::unique_lock<std::mutex>& lock) {
    using Sent = DeliveryQueues::Sent;
    using Settled = DeliveryQueues::Settled;
    const Sent how = sent.ok() ? Sent::Accepted : interrupted ? Sent::Interrupted : Sent::Refused;
    const unsigned attempts = policy.attempts;
    switch (queues.settle(job, how, Clock::now(), policy)) {
        case Settled::Delivered:
            ++counters.delivered;
            break;
        case Settled::Retrying:
            counters.retried += how == Sent::Refused ? 1 : 0;
            work.notify_one();  // its due time may be the earliest now
            break;
        case Settled::Forgotten:
            ++counters.dropped;
            break;
        case Settled::GivenUp: {
            ++counters.dropped;
            const FailureHandler handler = onFailure;
            lock.unlock();
            tell("indication to " + job.key + " dropped after " + std::to_string(attempts) +
                 " retries: " + sent.message());
            if (handler) {
                handler(job.key);
            }
            lock.lock();
            break;
        }
    }
    if (queues.size() == 0) {
        drained.notify_all();
    }
}

DeliveryService::DeliveryService(DeliverySettings settings)
    : state_(std::make_unique<State>(std::move(settings))) {
    const unsigned count = std::max(1u, state_->settings.senders);
    for (unsigned i = 0; i < count; ++i) {
        state_->senders.push_back(std::make_unique<ExportSender>(state_->settings));
    }
    for (const auto& sender : state_->senders) {
        state_->threads.emplace_back([this, s = sender.get()] { state_->run(*s); });
    }
}

DeliveryService::~DeliveryService() {
    stop(std::chrono::milliseconds(0));
}

bool DeliveryService::enqueue(const DeliveryTarget& target, std::string instanceXml) {
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

void DeliveryService::setFailureHandler(FailureHandler handler) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->onFailure = std::move(handler);
}

void DeliveryService::removeTarget(const std::string& key) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->counters.dropped += state_->queues.remove(key);
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
    if (state_->quitting) {
        return 0;
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
