// The process's one platform root, with its small files read from memory while the kernel
// reports no change.
//
// A process keeps one root open, with one change queue (inotify) and one lock. Each platform
// call asks for the root with kept(), which reads the queue once without blocking: anything
// created, removed, renamed, written or re-permissioned in a folder a read went through since the
// last call makes every remembered read go, so the next call sees the change exactly as a fresh
// read would. The folders on the way to the root are watched for the next entry being replaced,
// which reopens the root; a root whose path holds a link (or ".", "..") is instead re-checked
// with one stat per call, and where nothing can be watched (no inotify, no /proc, a network or
// FUSE file system) every read goes to the files. Only files of at most kRememberedFileLimit
// bytes with a single link are remembered: a file with a second link could change through a
// folder nobody watches. Writes made through a shared mapping of a value file are not reported
// by the kernel; the platform's files are written with write(2), as every editor and
// `cimp-platform` do.
#ifndef CIMP_PLATFORM_SIM_WATCHED_DIRECTORY_H
#define CIMP_PLATFORM_SIM_WATCHED_DIRECTORY_H

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "platform/sim/change_watch.h"
#include "platform/sim/env.h"
#include "platform/sim/posix_directory.h"

namespace cimpsim {

class WatchedDirectory : public PosixDirectory {
  public:
    static constexpr size_t kRememberedFileLimit = 1024;
    static constexpr size_t kMaxRememberedFiles = 1024;

    // The directory `path` as Env::directory answers it: the kept root while the path still
    // names it, else `path` opened anew and kept when it opens.
    static std::shared_ptr<const Directory> kept(const std::string& path, bool create);

    WatchedDirectory(const std::string& path, bool create);

    // Writes go to the files as PosixDirectory writes them; reads may come from memory.
    FileRead read(const std::string& relative, char* buffer, size_t capacity) const override;

  private:
    struct Remembered {
        ReadStatus status;
        std::string bytes;
    };

    bool watchPath();
    // Whether the path still names this directory; forgets every read when anything beneath it
    // changed. False for good once the change queue has told of the path changing.
    bool stillCurrent() const;
    bool watchFoldersOf(const std::string& relative) const;
    FileRead readAndRemember(const std::string& relative, char* buffer, size_t capacity) const;

    std::string path_;
    std::string byDescriptor_;  // "/proc/self/fd/N/": the open root, whatever its path names now
    // Guarded by the process's platform lock (one for the kept root and every root's memory).
    mutable ChangeWatch watch_;
    mutable std::unordered_map<std::string, Remembered> reads_;
    mutable std::unordered_set<std::string> watchedFolders_;
    mutable bool gone_ = false;  // the path no longer names this root
    bool watching_;              // remembers reads: the kernel can tell of every change here
    bool pathWatched_;
};

}  // namespace cimpsim

#endif
