#include "tools/cimp-platform/line_tail.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace cimpcli {

namespace {

constexpr size_t kChunkBytes = 64 * 1024;

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
    std::ifstream file(path_, std::ios::binary);
    if (!file) {
        return errno == ENOENT ? cimp::Outcome::success()
                               : cimp::Outcome::failed(path_, std::strerror(errno));
    }
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path_, error);
    if (error) {
        return cimp::Outcome::failed(path_, "not a regular file");
    }
    if (size < offset_) {
        offset_ = 0;
        partial_.clear();
        cut_ = false;
    }
    file.seekg(static_cast<std::streamoff>(offset_));
    char chunk[kChunkBytes];
    while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
        offset_ += static_cast<uint64_t>(file.gcount());
        take(chunk, static_cast<size_t>(file.gcount()), line);
    }
    return file.bad() ? cimp::Outcome::failed(path_, std::strerror(errno))
                      : cimp::Outcome::success();
}

}  // namespace cimpcli
