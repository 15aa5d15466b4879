// The kernel's notice of changes to chosen folders (inotify), read without blocking.
//
// The kernel queues a change before the call that made it returns, so a change made before
// drain() is always reported by it: what drain() does not report has not happened. Two kinds of
// watch: a folder watched for every change of its entries and their contents (beneath the
// platform root), and a folder watched only for one entry being replaced, moved or removed (the
// folders on the way to the root).
#ifndef CIMP_PLATFORM_SIM_CHANGE_WATCH_H
#define CIMP_PLATFORM_SIM_CHANGE_WATCH_H

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/sim/fd.h"

namespace cimpsim {

enum class Change {
    None,     // nothing watched changed
    Beneath,  // something in a folder watched for every change
    Path,     // a watched entry on the way, or lost track: start over
};

class ChangeWatch {
  public:
    // At most this many folders are watched; more are refused with ENOSPC.
    static constexpr size_t kMaxFolders = 256;

    ChangeWatch();
    ChangeWatch(const ChangeWatch&) = delete;
    ChangeWatch& operator=(const ChangeWatch&) = delete;

    // False when the kernel gave no watch descriptor (nothing can be watched).
    bool valid() const { return queue_.valid(); }
    // The queue's descriptor, readable when a notice waits (for poll); negative when not valid.
    int descriptor() const { return queue_.get(); }

    // Watches every entry of the folder `path` (not followed when it is itself a link). 0, or
    // the errno that refused it: ENOENT or ENOTDIR when there is no such folder.
    int watchFolder(const std::string& path);
    // Watches the folder `path` for its entry `name` being created, replaced, moved or removed.
    int watchEntry(const std::string& path, const std::string& name);

    // Reads every queued notice: the largest change among them.
    Change drain();

  private:
    struct Watched {
        bool everyEntry = false;
        std::vector<std::string> entries;
    };

    int add(const std::string& path, uint32_t mask, Watched*& watched);
    Change changeOf(uint32_t mask, int wd, const char* name);

    Fd queue_;
    std::unordered_map<int, Watched> folders_;
};

}  // namespace cimpsim

#endif
