// One owned file descriptor, or the errno of the call that failed to make it, and the reads the
// platform makes through one.
#ifndef CIMP_PLATFORM_SIM_FD_H
#define CIMP_PLATFORM_SIM_FD_H

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>
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

// The regular file at `path`, opened to read without blocking (a FIFO in its place cannot stall
// the reader) and described by `info`; EINVAL for anything but a regular file.
Fd openRegularFile(const std::string& path, struct stat& info);

// Reads `size` bytes at `at` into `buffer`, fewer only at the end of the file; false at an error.
// `got` counts the bytes read either way.
bool readFully(int fd, uint64_t at, char* buffer, size_t size, size_t& got);

// Up to `size` bytes at `at`: fewer at the end of the file or at an error.
std::string readAt(int fd, uint64_t at, size_t size);

// The last `limit` bytes, or fewer, of the file `fd` of `size` bytes.
std::string readTail(int fd, uint64_t size, size_t limit);

}  // namespace cimpsim

#endif
