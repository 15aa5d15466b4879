// RequestLog: one line per request on a stream (stderr in the daemon), written whole even when
// many worker threads finish requests at once. Thread-safe.
#pragma once

#include <iosfwd>
#include <mutex>
#include <string>

namespace cimhost {

class RequestLog {
  public:
    explicit RequestLog(std::ostream& out) : out_(out) {}

    // Writes "cimp-cimom: " + line + newline in one piece.
    void write(const std::string& line);

  private:
    std::ostream& out_;
    std::mutex mutex_;
};

}  // namespace cimhost
