#include "tools/cimp-platform/line_tail.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace cimpcli {

namespace {

constexpr size_t kChunkBytes = 64 * 1024;

// Closes the descriptor however the read ends.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

}  // namespace

void LineTail::take(const char* data, size_t size,
                    const std::function<void(const std::string&)>& line) {
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            line(cut_ ? partial_ + "..." : partial_);
            partial_.clear();
            cut_ = false;
        } else if (partial_.size() < kMaxLineBytes) {
            partial_ += data[i];
        } else {
            cut_ = true;
        }
    }
}

cimp::Outcome LineTail::poll(const std::function<void(const std::string&)>& line) {
    Descriptor file{::open(path_.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) {
        return errno == ENOENT ? cimp::Outcome::success()
                               : cimp::Outcome::failed(path_, std::strerror(errno));
    }
    struct stat info;
    if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return cimp::Outcome::failed(path_, "not a regular file");
    }
    if (static_cast<uint64_t>(info.st_size) < offset_) {
        offset_ = 0;
        partial_.clear();
        cut_ = false;
    }
    char chunk[kChunkBytes];
    for (;;) {
        ssize_t n = ::pread(file.fd, chunk, sizeof chunk, static_cast<off_t>(offset_));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return cimp::Outcome::failed(path_, std::strerror(errno));
        }
        if (n == 0) {
            return cimp::Outcome::success();
        }
        offset_ += static_cast<uint64_t>(n);
        take(chunk, static_cast<size_t>(n), line);
    }
}

}  // namespace cimpcli
