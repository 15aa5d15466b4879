// The platform root with its small files read from memory while the kernel reports no change.
//
// Each platform call starts with stillCurrent(): one non-blocking read of the kernel's change
// queue (inotify). Anything created, removed, renamed, written or re-permissioned in a folder a
// read went through since the last call makes every remembered read go, so the next call sees
// the change exactly as a fresh read would. The folders on the way to the root are watched for
// the next entry being replaced, which reopens the root; a root whose path holds a link (or
// ".", "..") is instead re-checked with one stat per call, and where nothing can be watched
// (no inotify, no /proc, a network or FUSE file system) every read goes to the files. Only files of at most kRememberedFileLimit bytes with a single
// link are remembered: a file with a second link could change through a folder nobody watches.
// Writes made through a shared mapping of a value file are not reported by the kernel; the
// platform's files are written with write(2), as every editor and `cimp-platform` do.
#ifndef CIMP_PLATFORM_SIM_WATCHED_DIRECTORY_H
#define CIMP_PLATFORM_SIM_WATCHED_DIRECTORY_H

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "platform/sim/adaptive_mutex.h"
#include "platform/sim/change_watch.h"
#include "platform/sim/env.h"
#include "platform/sim/posix_directory.h"

namespace cimpsim {

class WatchedDirectory : public Directory {
  public:
    static constexpr size_t kRememberedFileLimit = 1024;
    static constexpr size_t kMaxRememberedFiles = 1024;

    // Opens `path` as PosixDirectory::open does and starts watching the way to it.
    static std::shared_ptr<const WatchedDirectory> open(const std::string& path, bool create);

    WatchedDirectory(std::shared_ptr<const PosixDirectory> files, std::string path);

    bool valid() const { return files_->valid(); }
    // Whether the path still names this directory; forgets every read when anything beneath it
    // changed. Each platform call asks once, before it reads. False for good once
    // the change queue has told of the path changing.
    bool stillCurrent() const;

    // Makes stillCurrent() on the calling thread cost no system call while nothing changes; for
    // a root that one thread at a time reads through.
    void listenOnCallingThread() const;

    FileRead read(const std::string& relative, char* buffer, size_t capacity) const override;
    bool appendLocked(const std::string& relative, size_t tailLimit,
                      const std::function<std::string(const std::string&)>& compose) const override;
    std::unique_ptr<SharedMapping> mapShared(
        const std::string& relative, size_t size,
        const std::function<void(uint8_t*, size_t)>& prepare) const override;

  private:
    struct Remembered {
        ReadStatus status;
        std::string bytes;
    };

    bool watchPath();
    bool watchFoldersOf(const std::string& relative) const;
    FileRead readAndRemember(const std::string& relative, char* buffer, size_t capacity) const;

    std::shared_ptr<const PosixDirectory> files_;
    std::string path_;
    std::string byDescriptor_;  // "/proc/self/fd/N/": the open root, whatever its path names now
    mutable AdaptiveMutex mutex_;
    mutable ChangeWatch watch_;                                   // guarded by mutex_
    mutable std::unordered_map<std::string, Remembered> reads_;  // guarded by mutex_
    mutable std::unordered_set<std::string> watchedFolders_;      // guarded by mutex_
    mutable bool gone_ = false;  // the path no longer names this root; guarded by mutex_
    bool watching_;  // remembers reads: the kernel can tell of every change here
    bool pathWatched_;
};

}  // namespace cimpsim

#endif
