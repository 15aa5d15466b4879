// The simulated platform's one seam to the operating system.
//
// Every environment lookup, clock read, file read, log append and file mapping of the simulated
// platform goes through Env, so tests can observe or replace it. currentEnv() is the POSIX
// implementation unless a ScopedEnv installs another one. Implementations must be thread-safe;
// swapping with ScopedEnv is for tests and must not race with platform calls.
#ifndef CIMP_PLATFORM_SIM_ENV_H
#define CIMP_PLATFORM_SIM_ENV_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace cimpsim {

enum class ReadStatus { Ok, Missing, Unreadable };

// A shared read-write mapping of a file, unmapped when destroyed.
class SharedMapping {
  public:
    SharedMapping(uint8_t* data, size_t size) : data_(data), size_(size) {}
    ~SharedMapping();
    SharedMapping(const SharedMapping&) = delete;
    SharedMapping& operator=(const SharedMapping&) = delete;

    uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

  private:
    uint8_t* data_;
    size_t size_;
};

class Env {
  public:
    virtual ~Env() = default;

    // The value of environment variable `name`, or nothing when it is unset.
    virtual std::optional<std::string> variable(const char* name) const = 0;

    // Wall-clock time in nanoseconds since the Unix epoch.
    virtual uint64_t nowNanos() const = 0;

    // Reads at most `limit` bytes of the regular file `relative` (slash-separated) beneath the
    // directory `base`, following no symbolic link below `base`. `out` receives the bytes.
    virtual ReadStatus readBeneath(const std::string& base, const std::string& relative,
                                   size_t limit, std::string& out) const = 0;

    // Appends one line to the file `path`, creating it and its directories. Holds an exclusive
    // lock shared with other processes while `compose` turns the file's last bytes (up to
    // `tailLimit`) into the line, then writes it with one append. False when it cannot.
    virtual bool appendLocked(
        const std::string& path, size_t tailLimit,
        const std::function<std::string(const std::string& tail)>& compose) const = 0;

    // Maps `path` shared and read-write at exactly `size` bytes, creating it and its
    // directories and resizing it when needed; `prepare` runs on the mapping under an exclusive
    // lock shared with other processes. Null when it cannot.
    virtual std::unique_ptr<SharedMapping> mapShared(
        const std::string& path, size_t size,
        const std::function<void(uint8_t* data, size_t size)>& prepare) const = 0;
};

// The POSIX implementation.
Env& systemEnv();

// The Env in use: systemEnv() unless a ScopedEnv is alive.
Env& currentEnv();

// Installs `env` as currentEnv() for its lifetime (tests).
class ScopedEnv {
  public:
    explicit ScopedEnv(Env& env);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    Env* previous_;
};

}  // namespace cimpsim

#endif
