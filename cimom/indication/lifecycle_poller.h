// LifecyclePoller: lifecycle indications for classes whose providers raise none themselves.
// While any class is watched, every poll interval it enumerates each watched class through the
// host's router of the class's namespace (EnumerateInstances, in a request scope of its own)
// and hands the sink a CIM_InstCreation, CIM_InstDeletion or CIM_InstModification for each
// instance that appeared, vanished (by path) or changed since the poll before. The first poll
// of a newly watched class only sets its baseline. A poll that fails is reported as nothing and
// the baseline stays; the log gets a line when a class starts failing and one when it recovers.
// A class with more than maxInstancesPerClass instances counts as failing and starts from a new
// baseline once under the cap again.
//
// One thread, started by the constructor, which sleeps without a timeout while nothing is
// watched: nothing is polled then. watchChanged() wakes it at once to read the watch list again;
// newly watched classes get their baseline then. stop() or the destructor stops and joins it.
// The runtime, routers, sink and log must outlive the poller.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "broker/broker_runtime.h"
#include "broker/indication_sink.h"
#include "cimom/dispatch/router.h"
#include "cimom/indication/instance_snapshot.h"
#include "cimom/indication/lifecycle_settings.h"
#include "cimom/indication/watched_class.h"

namespace cimhost {

class LifecyclePoller {
  public:
    // The classes to watch now; called on the poller's thread.
    using WatchList = std::function<std::vector<WatchedClass>()>;

    LifecyclePoller(cimbroker::Runtime& runtime, std::vector<const Router*> routers,
                    WatchList watchList, cimbroker::IndicationSink& sink,
                    LifecycleSettings settings, std::ostream& log);
    ~LifecyclePoller();
    LifecyclePoller(const LifecyclePoller&) = delete;
    LifecyclePoller& operator=(const LifecyclePoller&) = delete;

    // The watch list may have changed. Any thread; returns at once.
    void watchChanged();

    void stop();

  private:
    struct Watch {
        WatchedClass watched;
        InstanceSnapshot snapshot;
        std::string fault;  // why the last poll failed; empty when it did not
    };

    void run();
    void refreshWatches();
    void poll(Watch& watch);
    Reply enumerate(const WatchedClass& watched, const CMPIContext* context) const;
    void report(const WatchedClass& watched, const LifecycleChange& change);
    void noteFault(Watch& watch, std::string fault);
    void tell(const std::string& line);
    void wake(bool& flag);  // sets a flag guarded by mutex_ and wakes the thread

    cimbroker::Runtime& runtime_;
    const std::vector<const Router*> routers_;
    const WatchList watchList_;
    cimbroker::IndicationSink& sink_;
    const LifecycleSettings settings_;
    std::ostream& log_;
    const std::string identifierPrefix_;  // unique per poller
    std::uint64_t reported_ = 0;

    std::vector<Watch> watches_;  // the poller's thread only

    std::mutex mutex_;
    std::condition_variable wake_;
    bool changed_ = true;  // guarded by mutex_
    bool stopping_ = false;
    std::thread thread_;  // last: starts once everything above is ready
};

}  // namespace cimhost
