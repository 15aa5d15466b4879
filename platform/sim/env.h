// The simulated platform's one seam to the operating system.
//
// Every environment lookup, clock read, file read, log append and file mapping of the simulated
// platform goes through Env and the Directory it opens, so tests can observe or replace it.
// currentEnv() is the POSIX implementation unless a test installs another one (scoped_env.h).
// Implementations must be thread-safe.
#ifndef CIMP_PLATFORM_SIM_ENV_H
#define CIMP_PLATFORM_SIM_ENV_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/sim/fd.h"

namespace cimpsim {

enum class ReadStatus { Ok, Missing, Unreadable };

struct FileRead {
    ReadStatus status;
    size_t size;  // bytes placed in the caller's buffer when Ok
};

// A shared read-write mapping of a file, unmapped when destroyed. It keeps the file open so that
// a file shrunk under it can be grown back instead of faulting the writer (mapping_fault_guard.h).
class SharedMapping {
  public:
    SharedMapping(uint8_t* data, size_t size, Fd file);
    ~SharedMapping();
    // Maps `size` bytes of `file` shared and read-write; null when it cannot.
    static std::unique_ptr<SharedMapping> map(Fd file, size_t size);
    SharedMapping(const SharedMapping&) = delete;
    SharedMapping& operator=(const SharedMapping&) = delete;

    uint8_t* data() const { return data_; }
    size_t size() const { return size_; }
    // Grows the file back to the mapped size when something shrank it.
    void restoreSize() const;

  private:
    uint8_t* data_;
    size_t size_;
    Fd file_;
};

// A directory that files are reached strictly beneath: `relative` is slash-separated, and no
// symbolic link, "..", or absolute path at any level below the directory is followed. Only
// regular files with one link are written; nothing opened ever blocks (FIFOs included).
class Directory {
  public:
    virtual ~Directory() = default;

    // Reads at most `capacity` bytes of the regular file `relative` into `buffer`.
    virtual FileRead read(const std::string& relative, char* buffer, size_t capacity) const = 0;

    // Appends one line to the file `relative`, creating it and its folders. Holds an exclusive
    // lock shared with other processes (waiting a bounded time for it) while `compose` turns the
    // file's last bytes (up to `tailLimit`) into the line, then writes it with one append. False
    // when it cannot.
    virtual bool appendLocked(
        const std::string& relative, size_t tailLimit,
        const std::function<std::string(const std::string& tail)>& compose) const = 0;

    // Maps the file `relative` shared and read-write at exactly `size` bytes, creating it and its
    // folders and resizing it when needed; `prepare` runs on the mapping under the same bounded
    // exclusive lock, which is released before returning so other processes can map it too.
    // Null when it cannot.
    virtual std::unique_ptr<SharedMapping> mapShared(
        const std::string& relative, size_t size,
        const std::function<void(uint8_t* data, size_t size)>& prepare) const = 0;
};

class Env {
  public:
    virtual ~Env() = default;

    // The value of environment variable `name`, or nothing when it is unset.
    virtual std::optional<std::string> variable(const char* name) const = 0;

    // Wall-clock time in nanoseconds since the Unix epoch.
    virtual uint64_t nowNanos() const = 0;

    // The directory `path` (absolute; it may itself be a symbolic link), created with its parents
    // first when `create` is set and it is missing. Never null: a directory that cannot be opened
    // answers every call as missing or unreadable. Each call sees the directory the path names
    // now, even when it was replaced since the last call.
    virtual std::shared_ptr<const Directory> directory(const std::string& path,
                                                       bool create) const = 0;
};

// The POSIX implementation.
Env& systemEnv();

// The Env in use: systemEnv() unless a ScopedEnv (scoped_env.h) is alive.
Env& currentEnv();

}  // namespace cimpsim

#endif
