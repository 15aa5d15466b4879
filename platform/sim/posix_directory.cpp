#include "platform/sim/posix_directory.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/file.h>
#include <sys/syscall.h>

#include <algorithm>

#include "platform/sim/file_lock.h"
#include "platform/sim/mapping_fault_guard.h"

namespace cimpsim {

namespace {

// The mode of files and folders the platform creates.
constexpr mode_t kFileMode = 0644;
constexpr mode_t kFolderMode = 0755;

Fd openAt(int at, const char* relative, int flags) {
    open_how how{};
    // openat2 refuses O_NOCTTY beside O_PATH.
    const int noTerminal = (flags & O_PATH) != 0 ? 0 : O_NOCTTY;
    how.flags = static_cast<uint64_t>(flags | O_CLOEXEC | noTerminal);
    how.mode = (flags & O_CREAT) != 0 ? kFileMode : 0;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS;
    return Fd::fromResult(syscall(SYS_openat2, at, relative, &how, sizeof how));
}

ReadStatus statusOf(int error) {
    return (error == ENOENT || error == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Unreadable;
}

Fd openFolder(const std::string& path) {
    return Fd::fromResult(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

// mkdir -p of the root's own path; links in it are the administrator's choice.
void createDirectories(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), kFolderMode);
        if (slash == std::string::npos) {
            return;
        }
    }
}

}  // namespace

PosixDirectory::PosixDirectory(const std::string& path, bool create) : dir_(openFolder(path)) {
    if (create && dir_.error() == ENOENT) {
        createDirectories(path);
        dir_ = openFolder(path);
    }
    struct stat info {};
    if (dir_.valid() && fstat(dir_.get(), &info) != 0) {
        dir_ = Fd::failed(errno);
    }
    device_ = info.st_dev;
    inode_ = info.st_ino;
}

bool PosixDirectory::isSameAs(const struct stat& info) const {
    return dir_.valid() && info.st_dev == device_ && info.st_ino == inode_;
}

Fd PosixDirectory::openBeneath(const std::string& relative, int flags) const {
    return dir_.valid() ? openAt(dir_.get(), relative.c_str(), flags) : Fd::failed(dir_.error());
}

void PosixDirectory::createFolders(const std::string& relative) const {
    Fd held = Fd::failed(EBADF);
    int at = dir_.get();
    for (size_t start = 0, slash; (slash = relative.find('/', start)) != std::string::npos;
         start = slash + 1) {
        const std::string folder = relative.substr(start, slash - start);
        mkdirat(at, folder.c_str(), kFolderMode);
        held = openAt(at, folder.c_str(), O_PATH | O_DIRECTORY);
        if (!held.valid()) {
            return;
        }
        at = held.get();
    }
}

Fd PosixDirectory::openLocked(const std::string& relative, int flags, struct stat& info) const {
    // Non-blocking, so that a FIFO planted in place of the file cannot stall the writer.
    const int writeFlags = flags | O_RDWR | O_CREAT | O_NONBLOCK;
    Fd file = openBeneath(relative, writeFlags);
    if (file.error() == ENOENT && dir_.valid()) {
        createFolders(relative);
        file = openBeneath(relative, writeFlags);
    }
    // A file written through a second hard link would change a file elsewhere.
    if (file.valid() && (!lockExclusive(file.get()) || fstat(file.get(), &info) != 0 ||
                         !S_ISREG(info.st_mode) || info.st_nlink != 1)) {
        return Fd::failed(EPERM);
    }
    return file;
}

FileRead PosixDirectory::read(const std::string& relative, char* buffer, size_t capacity) const {
    nlink_t links = 0;
    return readCountingLinks(relative, buffer, capacity, links);
}

FileRead PosixDirectory::readCountingLinks(const std::string& relative, char* buffer,
                                           size_t capacity, nlink_t& links) const {
    links = 0;
    // Non-blocking so that a FIFO planted in the tree cannot stall the caller.
    Fd file = openBeneath(relative, O_RDONLY | O_NONBLOCK);
    if (!file.valid()) {
        return {statusOf(file.error()), 0};
    }
    struct stat info {};
    if (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {ReadStatus::Unreadable, 0};
    }
    links = info.st_nlink;
    // Sized by the file, not the caller's capacity, which may be far larger.
    const size_t wanted = std::min(capacity, static_cast<size_t>(info.st_size));
    size_t got = 0;
    if (!readFully(file.get(), 0, buffer, wanted, got)) {
        return {ReadStatus::Unreadable, 0};
    }
    return {ReadStatus::Ok, got};
}

bool PosixDirectory::appendLocked(
    const std::string& relative, size_t tailLimit,
    const std::function<std::string(const std::string&)>& compose) const {
    struct stat info {};
    const Fd file = openLocked(relative, O_APPEND, info);
    if (!file.valid()) {
        return false;
    }
    const std::string line = compose(readTail(file.get(), info.st_size, tailLimit));
    return write(file.get(), line.data(), line.size()) == static_cast<ssize_t>(line.size());
}

std::unique_ptr<SharedMapping> PosixDirectory::mapShared(
    const std::string& relative, size_t size,
    const std::function<void(uint8_t*, size_t)>& prepare) const {
    struct stat info {};
    Fd file = openLocked(relative, 0, info);
    if (!file.valid()) {
        return nullptr;
    }
    if (static_cast<size_t>(info.st_size) != size &&
        ftruncate(file.get(), static_cast<off_t>(size)) != 0) {
        return nullptr;
    }
    const int fd = file.get();
    std::unique_ptr<SharedMapping> mapping = SharedMapping::map(std::move(file), size);
    if (mapping == nullptr || !guardMapping(mapping->data(), size, fd)) {
        return nullptr;
    }
    prepare(mapping->data(), size);
    // The mapping holds the file open, and with it the lock, until it goes: release it now so
    // that other processes can map the same ring.
    flock(fd, LOCK_UN);
    return mapping;
}

}  // namespace cimpsim
