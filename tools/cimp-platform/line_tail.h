// Reads the lines a log file gains, a bounded chunk at a time: the whole file on the first call,
// what was appended since on later ones. A file that shrank (replaced or truncated) is read again
// from its start. A missing file has no lines yet.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_LINE_TAIL_H
#define CIMP_TOOLS_CIMP_PLATFORM_LINE_TAIL_H

#include <cstdint>
#include <functional>
#include <string>

#include "base/outcome.h"

namespace cimpcli {

// A longer line is cut here and marked with "...".
constexpr size_t kMaxLineBytes = 4096;

class LineTail {
  public:
    explicit LineTail(std::string path) : path_(std::move(path)) {}

    // Passes each complete new line (without its newline) to `line`.
    cimp::Outcome poll(const std::function<void(const std::string&)>& line);

  private:
    void take(const char* data, size_t size, const std::function<void(const std::string&)>& line);

    std::string path_;
    uint64_t offset_ = 0;
    std::string partial_;
    bool cut_ = false;
};

}  // namespace cimpcli

#endif
