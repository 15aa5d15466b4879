// The platform root each thread reads through.
//
// A root keeps its change queue and the reads it remembers behind one lock
// (watched_directory.h). Were one root shared by every thread, that lock and the queue would
// pass between the cores on every call, so each thread calling the platform gets a root of its
// own while fewer than kMaxOwnedRoots are given out. A thread's root outlives the thread and
// goes to the next one that asks, still remembering its reads, for hosts that start a thread per
// request; a kept root makes way when a thread needs one for another path. Threads beyond the
// limit share one more root. The limit keeps a process to a few of the kernel's change queues,
// of which a user has 128 by default (fs.inotify.max_user_instances) for every program they run.
#ifndef CIMP_PLATFORM_SIM_THREAD_ROOTS_H
#define CIMP_PLATFORM_SIM_THREAD_ROOTS_H

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/adaptive_mutex.h"
#include "platform/sim/watched_directory.h"

namespace cimpsim {

class ThreadRoots {
  public:
    static constexpr size_t kMaxOwnedRoots = 8;

    // The directory `path` for the calling thread, as Env::directory answers it.
    std::shared_ptr<const Directory> directory(const std::string& path, bool create);

  private:
    using Root = std::shared_ptr<const WatchedDirectory>;
    struct Owned {
        std::string path;
        Root root;
    };
    struct Lease;

    Root adopt(const std::string& path);
    Root openOwned(const std::string& path, bool create);
    void giveBack(Owned owned);
    void drop();
    Root shared(const std::string& path, bool create);

    AdaptiveMutex mutex_;
    size_t owned_ = 0;         // roots held by threads or kept for them; guarded by mutex_
    std::vector<Owned> idle_;  // guarded by mutex_
    Owned shared_;             // guarded by mutex_
};

}  // namespace cimpsim

#endif
