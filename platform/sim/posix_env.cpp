// The POSIX Env: plain system calls, descriptors closed on every path.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "platform/sim/env.h"

namespace cimpsim {

namespace {

// Owns one file descriptor.
class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

  private:
    int fd_;
};

std::vector<std::string> splitPath(const std::string& relative) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t slash = relative.find('/', start);
        if (slash == std::string::npos) {
            slash = relative.size();
        }
        parts.push_back(relative.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

ReadStatus statusOf(int error) {
    return (error == ENOENT || error == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Unreadable;
}

// Creates every missing directory of `path`'s parent; failures show when the file is opened.
void createParentDirectories(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0755);
    }
}

// Opens (creating it and its directories) the regular file `path` and takes its exclusive lock,
// which other processes opening it here share; invalid when any step fails.
Fd openLocked(const std::string& path, int flags, struct stat& info) {
    createParentDirectories(path);
    Fd file(open(path.c_str(), flags | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644));
    if (!file.valid()) {
        return file;
    }
    int locked;
    while ((locked = flock(file.get(), LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (locked != 0 || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return Fd(-1);
    }
    return file;
}

class PosixEnv : public Env {
  public:
    std::optional<std::string> variable(const char* name) const override {
        const char* value = std::getenv(name);
        if (value == nullptr) {
            return std::nullopt;
        }
        return std::string(value);
    }

    uint64_t nowNanos() const override {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
    }

    ReadStatus readBeneath(const std::string& base, const std::string& relative, size_t limit,
                           std::string& out) const override {
        out.clear();
        Fd dir(open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!dir.valid()) {
            return statusOf(errno);
        }
        std::vector<std::string> parts = splitPath(relative);
        int parent = dir.get();
        std::vector<std::unique_ptr<Fd>> chain;
        for (size_t i = 0; i + 1 < parts.size(); ++i) {
            chain.push_back(std::make_unique<Fd>(
                openat(parent, parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)));
            if (!chain.back()->valid()) {
                return statusOf(errno);
            }
            parent = chain.back()->get();
        }
        // Non-blocking so that a FIFO planted in the tree cannot stall the caller.
        Fd file(
            openat(parent, parts.back().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (!file.valid()) {
            return statusOf(errno);
        }
        struct stat info {};
        if (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
            return ReadStatus::Unreadable;
        }
        // Sized by the file, not the caller's capacity, which may be far larger.
        const size_t wanted = std::min(limit, static_cast<size_t>(info.st_size));
        out.resize(wanted);
        size_t got = 0;
        while (got < wanted) {
            ssize_t n = read(file.get(), &out[got], wanted - got);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                out.clear();
                return ReadStatus::Unreadable;
            }
            if (n == 0) {
                break;
            }
            got += static_cast<size_t>(n);
        }
        out.resize(got);
        return ReadStatus::Ok;
    }

    bool appendLocked(
        const std::string& path, size_t tailLimit,
        const std::function<std::string(const std::string&)>& compose) const override {
        struct stat info {};
        Fd file = openLocked(path, O_RDWR | O_APPEND, info);
        if (!file.valid()) {
            return false;
        }
        size_t fileSize = static_cast<size_t>(info.st_size);
        size_t tailSize = fileSize < tailLimit ? fileSize : tailLimit;
        std::string tail(tailSize, '\0');
        ssize_t got =
            pread(file.get(), &tail[0], tailSize, static_cast<off_t>(fileSize - tailSize));
        tail.resize(got > 0 ? static_cast<size_t>(got) : 0);
        std::string line = compose(tail);
        ssize_t written = write(file.get(), line.data(), line.size());
        return written == static_cast<ssize_t>(line.size());
    }

    std::unique_ptr<SharedMapping> mapShared(
        const std::string& path, size_t size,
        const std::function<void(uint8_t*, size_t)>& prepare) const override {
        struct stat info {};
        Fd file = openLocked(path, O_RDWR, info);
        if (!file.valid()) {
            return nullptr;
        }
        if (static_cast<size_t>(info.st_size) != size &&
            ftruncate(file.get(), static_cast<off_t>(size)) != 0) {
            return nullptr;
        }
        void* data = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, file.get(), 0);
        if (data == MAP_FAILED) {
            return nullptr;
        }
        auto mapping = std::make_unique<SharedMapping>(static_cast<uint8_t*>(data), size);
        prepare(mapping->data(), mapping->size());
        return mapping;
    }
};

}  // namespace

SharedMapping::~SharedMapping() {
    munmap(data_, size_);
}

Env& systemEnv() {
    static PosixEnv env;
    return env;
}

}  // namespace cimpsim
