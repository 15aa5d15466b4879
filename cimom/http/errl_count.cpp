#include "cimom/http/errl_count.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cimhost {
namespace {

// Longer than any line the platform writes.
constexpr off_t kTailBytes = 1024;
constexpr std::size_t kMaxDigits = 19;

std::string readTail(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return "";
    }
    struct stat info {};
    std::string tail;
    if (fstat(fd, &info) == 0) {
        const off_t from = info.st_size > kTailBytes ? info.st_size - kTailBytes : 0;
        tail.resize(static_cast<std::size_t>(info.st_size - from));
        const ssize_t got = pread(fd, &tail[0], tail.size(), from);
        tail.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    }
    close(fd);
    return tail;
}

}  // namespace

std::uint64_t errlEntryCount(const std::string& platformRoot) {
    const std::string tail = readTail(platformRoot + "/errl/log");
    const std::size_t end = tail.rfind('\n');
    if (end == std::string::npos) {
        return 0;
    }
    const std::size_t previous = end == 0 ? std::string::npos : tail.rfind('\n', end - 1);
    const std::size_t begin = previous == std::string::npos ? 0 : previous + 1;
    std::uint64_t count = 0;
    std::size_t at = begin;
    for (; at < end && at - begin < kMaxDigits && tail[at] >= '0' && tail[at] <= '9'; ++at) {
        count = count * 10 + static_cast<std::uint64_t>(tail[at] - '0');
    }
    return at > begin && tail[at] == ' ' ? count : 0;
}

}  // namespace cimhost
