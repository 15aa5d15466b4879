#include "platform/sim/fd.h"

#include <fcntl.h>

#include <algorithm>

namespace cimpsim {

Fd openRegularFile(const std::string& path, struct stat& info) {
    Fd file = Fd::fromResult(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.valid() && (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))) {
        return Fd::failed(EINVAL);
    }
    return file;
}

bool readFully(int fd, uint64_t at, char* buffer, size_t size, size_t& got) {
    for (got = 0; got < size;) {
        const ssize_t n = pread(fd, buffer + got, size - got, static_cast<off_t>(at + got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n == 0;
        }
        got += static_cast<size_t>(n);
    }
    return true;
}

std::string readAt(int fd, uint64_t at, size_t size) {
    std::string bytes(size, '\0');
    size_t got = 0;
    readFully(fd, at, &bytes[0], size, got);
    bytes.resize(got);
    return bytes;
}

std::string readTail(int fd, uint64_t size, size_t limit) {
    const size_t length = static_cast<size_t>(std::min<uint64_t>(size, limit));
    return readAt(fd, size - length, length);
}

}  // namespace cimpsim
