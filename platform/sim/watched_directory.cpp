#include "platform/sim/watched_directory.h"

#include <pthread.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <mutex>
#include <string_view>
#include <utility>

namespace cimpsim {

namespace {

FileRead copyOut(ReadStatus status, std::string_view bytes, char* buffer, size_t capacity) {
    const size_t size = std::min(capacity, bytes.size());
    if (size > 0) {  // a caller asking for nothing may pass no buffer
        std::memcpy(buffer, bytes.data(), size);
    }
    return {status, size};
}

// Held for about one system call at a time: a root's memory is shared by every thread, and
// nothing here is slow enough for a finer lock to pay for itself.
std::mutex g_lock;
std::shared_ptr<const WatchedDirectory> g_kept;  // guarded by g_lock

// The change queue a child of fork() inherits is its parent's, whose notices are not the child's
// to take: the child opens the root anew.
void forgetRootInChild() {
    g_kept.reset();
    g_lock.unlock();
}

// The kernel reports only changes made through this machine: a network or FUSE file system can
// change under it unannounced.
bool isLocal(int fd) {
    constexpr long kRemote[] = {0x6969 /* NFS */,      0x517B /* SMB */,
                                0xFF534D42 /* CIFS */, 0xFE534D42 /* SMB2 */,
                                0x65735546 /* FUSE */, 0x00C36400 /* Ceph */,
                                0x01021997 /* 9P */,   0x5346414F /* AFS */,
                                0x73757245 /* Coda */, 0x47504653 /* GPFS */};
    struct statfs info {};
    if (fstatfs(fd, &info) != 0) {
        return false;
    }
    return std::find(std::begin(kRemote), std::end(kRemote), static_cast<long>(info.f_type)) ==
           std::end(kRemote);
}

}  // namespace

std::shared_ptr<const Directory> WatchedDirectory::kept(const std::string& path, bool create) {
    // A child of fork() has only the forking thread: a lock another thread held at that moment
    // would never be let go in the child, so fork waits for it.
    static const int forkWaits =
        pthread_atfork([] { g_lock.lock(); }, [] { g_lock.unlock(); }, forgetRootInChild);
    static_cast<void>(forkWaits);
    // Let go after the lock: closing a change queue may wait for the kernel.
    std::shared_ptr<const WatchedDirectory> replaced;
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_kept != nullptr && g_kept->path_ == path && g_kept->stillCurrent()) {
        return g_kept;
    }
    auto opened = std::make_shared<const WatchedDirectory>(path, create);
    if (opened->valid()) {
        replaced = std::exchange(g_kept, opened);
    }
    return opened;
}

WatchedDirectory::WatchedDirectory(const std::string& path, bool create)
    : PosixDirectory(path, create),
      path_(path),
      byDescriptor_("/proc/self/fd/" + std::to_string(descriptor()) + "/"),
      watching_(watch_.valid() && valid() && isLocal(descriptor())),
      pathWatched_(watchPath()) {}

// Watches each folder from "/" down for the next entry of the path, then checks the path still
// names the open root: from then on any change to the way is reported.
bool WatchedDirectory::watchPath() {
    if (!watching_ || path_.empty() || path_[0] != '/') {
        return false;
    }
    std::string folder = "/";
    for (size_t start = 1; start <= path_.size();) {
        const size_t end = std::min(path_.find('/', start), path_.size());
        const std::string name = path_.substr(start, end - start);
        if (name.empty() || name == "." || name == ".." || watch_.watchEntry(folder, name) != 0) {
            return false;
        }
        folder = path_.substr(0, end);
        start = end + 1;
    }
    struct stat info {};
    return lstat(path_.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && isSameAs(info);
}

bool WatchedDirectory::stillCurrent() const {
    if (watching_) {
        if (gone_) {
            return false;
        }
        const Change change = watch_.drain();
        if (change == Change::Path) {
            gone_ = true;  // the queue has told its news: no later call may take this root
            return false;
        }
        if (change == Change::Beneath) {
            reads_.clear();
            watchedFolders_.clear();
        }
    }
    if (pathWatched_) {
        return true;
    }
    struct stat info {};
    return stat(path_.c_str(), &info) == 0 && isSameAs(info);
}

// Every folder from the root to the file is watched before the file is read, so that a change
// after the read is reported. Folders watched since the last change are not asked again.
bool WatchedDirectory::watchFoldersOf(const std::string& relative) const {
    for (size_t end = 0; end != std::string::npos; end = relative.find('/', end + 1)) {
        const std::string folder = relative.substr(0, end);
        if (watchedFolders_.count(folder) != 0) {
            continue;
        }
        const int error = watch_.watchFolder(byDescriptor_ + folder);
        if (error == 0) {
            watchedFolders_.insert(folder);
        } else {
            // A missing folder is fine below the root (its parent reports its arrival).
            return !folder.empty() && (error == ENOENT || error == ENOTDIR);
        }
    }
    return true;
}

FileRead WatchedDirectory::readAndRemember(const std::string& relative, char* buffer,
                                           size_t capacity) const {
    if (!watchFoldersOf(relative)) {
        return PosixDirectory::read(relative, buffer, capacity);
    }
    char content[kRememberedFileLimit + 1];
    nlink_t links = 0;
    const FileRead got = readCountingLinks(relative, content, sizeof content, links);
    const std::string_view bytes(content, got.status == ReadStatus::Ok ? got.size : 0);
    const bool whole = bytes.size() <= kRememberedFileLimit;
    if (whole && links <= 1 && reads_.size() < kMaxRememberedFiles) {
        reads_.emplace(relative, Remembered{got.status, std::string(bytes)});
    }
    // Only a large file the caller wants more of than was read goes to the disk again.
    if (!whole && capacity > bytes.size()) {
        return PosixDirectory::read(relative, buffer, capacity);
    }
    return copyOut(got.status, bytes, buffer, capacity);
}

FileRead WatchedDirectory::read(const std::string& relative, char* buffer, size_t capacity) const {
    if (!watching_) {
        return PosixDirectory::read(relative, buffer, capacity);
    }
    // Held through a read that fills the memory, so that no change drained meanwhile is lost.
    std::lock_guard<std::mutex> lock(g_lock);
    auto found = reads_.find(relative);
    if (found != reads_.end()) {
        return copyOut(found->second.status, found->second.bytes, buffer, capacity);
    }
    return readAndRemember(relative, buffer, capacity);
}

}  // namespace cimpsim
