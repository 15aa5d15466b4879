#include "cimom/indication/lifecycle_poller.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ostream>
#include <utility>

#include "base/text_case.h"
#include "cimom/indication/lifecycle_indication.h"

namespace cimhost {
namespace {

using Clock = std::chrono::steady_clock;

// Unique per daemon start: the process and the moment the poller began.
std::string uniquePrefix() {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return "cimp-lifecycle:" + std::to_string(getpid()) + "-" +
           std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(since).count()) +
           ":";
}

std::string nameOf(const WatchedClass& watched) {
    return watched.nameSpace + ":" + watched.className;
}

}  // namespace

LifecyclePoller::LifecyclePoller(cimbroker::Runtime& runtime, std::vector<const Router*> routers,
                                 WatchList watchList, cimbroker::IndicationSink& sink,
                                 LifecycleSettings settings, std::ostream& log)
    : runtime_(runtime),
      routers_(std::move(routers)),
      watchList_(std::move(watchList)),
      sink_(sink),
      settings_(settings),
      log_(log),
      identifierPrefix_(uniquePrefix()),
      thread_([this] { run(); }) {}

LifecyclePoller::~LifecyclePoller() {
    stop();
}

void LifecyclePoller::wake(bool& flag) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        flag = true;
    }
    wake_.notify_one();
}

void LifecyclePoller::watchChanged() {
    wake(changed_);
}

void LifecyclePoller::stop() {
    wake(stopping_);
    if (thread_.joinable()) {
        thread_.join();
    }
}

void LifecyclePoller::run() {
    Clock::time_point due = Clock::now();
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            const auto woken = [this] { return stopping_ || changed_; };
            if (watches_.empty()) {
                wake_.wait(lock, woken);
            } else {
                wake_.wait_until(lock, due, woken);
            }
            if (stopping_) {
                return;
            }
            changed_ = false;
        }
        refreshWatches();
        const bool isDue = Clock::now() >= due;
        for (Watch& watch : watches_) {
            if (isDue || !watch.snapshot.hasBaseline()) {
                poll(watch);
            }
        }
        if (isDue) {
            due = Clock::now() + settings_.pollInterval;
        }
    }
}

// Keeps what was seen of the classes still watched, in the order of the new list.
void LifecyclePoller::refreshWatches() {
    std::vector<WatchedClass> wanted = watchList_();
    std::vector<Watch> next;
    next.reserve(wanted.size());
    for (WatchedClass& watched : wanted) {
        const auto same = [&watched](const Watch& w) { return w.watched == watched; };
        if (std::any_of(next.begin(), next.end(), same)) {
            continue;
        }
        const auto kept = std::find_if(watches_.begin(), watches_.end(), same);
        if (kept != watches_.end()) {
            next.push_back(std::move(*kept));
        } else {
            next.push_back(Watch{std::move(watched), InstanceSnapshot(), std::string()});
        }
    }
    watches_ = std::move(next);
}

Reply LifecyclePoller::enumerate(const WatchedClass& watched, const CMPIContext* context) const {
    const auto router = std::find_if(routers_.begin(), routers_.end(), [&watched](const Router* r) {
        return cimp::equalsIgnoreCase(r->schema().nameSpace, watched.nameSpace);
    });
    if (router == routers_.end()) {
        Reply refused;
        refused.status = Status::invalidNamespace(watched.nameSpace);
        return refused;
    }
    Operation op;
    op.kind = OperationKind::EnumerateInstances;
    op.method = operationName(op.kind);
    op.nameSpace = watched.nameSpace;
    op.className = watched.className;
    op.deepInheritance = true;
    return (*router)->route(op, context);
}

void LifecyclePoller::poll(Watch& watch) {
    cimbroker::RequestScope scope(runtime_);
    const Reply reply = enumerate(watch.watched, scope.context());
    if (!reply.status.isOk()) {
        const std::string& why = reply.status.description();
        noteFault(watch, cimCodeName(reply.status.code()) + (why.empty() ? "" : ": " + why));
        return;
    }
    if (reply.instances.size() > settings_.maxInstancesPerClass) {
        watch.snapshot.forget();
        noteFault(watch, "more than " + std::to_string(settings_.maxInstancesPerClass) +
                             " instances, the most one class is watched with");
        return;
    }
    if (!watch.fault.empty()) {
        watch.fault.clear();
        tell("lifecycle poll of " + nameOf(watch.watched) + " works again");
    }
    for (const LifecycleChange& change : watch.snapshot.update(reply.instances)) {
        report(watch.watched, change);
    }
}

void LifecyclePoller::noteFault(Watch& watch, std::string fault) {
    if (fault != watch.fault) {
        tell("lifecycle poll of " + nameOf(watch.watched) + " failed, nothing reported: " + fault);
    }
    watch.fault = std::move(fault);
}

void LifecyclePoller::report(const WatchedClass& watched, const LifecycleChange& change) {
    const std::string identifier = identifierPrefix_ + std::to_string(++reported_);
    const CMPIInstance* indication =
        lifecycleIndication(runtime_.broker(), watched.nameSpace, change, identifier);
    const CMPIStatus delivered = indication == nullptr
                                     ? CMPIStatus{CMPI_RC_ERR_FAILED, nullptr}
                                     : sink_.deliver(watched.nameSpace.c_str(), indication);
    if (delivered.rc != CMPI_RC_OK) {
        tell(std::string(lifecycleClassName(change)) + " of " + nameOf(watched) +
             " not delivered: " + Status::fromCmpi(delivered).description());
    }
}

void LifecyclePoller::tell(const std::string& line) {
    log_ << "cimp-cimom: " + line + "\n" << std::flush;
}

}  // namespace cimhost
