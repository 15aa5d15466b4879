// One owned file descriptor, or the errno of the call that failed to make it.
#ifndef CIMP_PLATFORM_SIM_FD_H
#define CIMP_PLATFORM_SIM_FD_H

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace cimpsim {

class Fd {
  public:
    // Takes the result of a call returning a descriptor or -1 with errno set.
    static Fd fromResult(long result) {
        return Fd(result >= 0 ? static_cast<int>(result) : -errno);
    }
    static Fd failed(int error) { return Fd(-error); }

    ~Fd() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -EBADF; }
    Fd& operator=(Fd&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    bool valid() const { return fd_ >= 0; }
    int get() const { return fd_; }
    int error() const { return fd_ < 0 ? -fd_ : 0; }

  private:
    explicit Fd(int fd) : fd_(fd) {}
    int fd_;
};

}  // namespace cimpsim

#endif
