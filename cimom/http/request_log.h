// RequestLog: one line per request on a stream (stderr in the daemon), written whole even when
// many worker threads finish requests at once. Thread-safe.
//
// Lines are collected in a buffer and written out when it passes a few KiB or when the last
// write-out is older than kFlushInterval, so a busy daemon does not pay a system call per
// request; the daemon calls flush() on a timer so that no line waits longer than that. Every
// byte outside printable ASCII, and the backslash, is written as \xHH (\\): a client cannot
// forge lines or send terminal escapes through a class name or a URL. A quiet log drops request
// lines but keeps events (failed logins).
#pragma once

#include <chrono>
#include <iosfwd>
#include <mutex>
#include <string>

namespace cimhost {

class RequestLog {
  public:
    static constexpr std::chrono::milliseconds kFlushInterval{100};

    explicit RequestLog(std::ostream& out, bool quiet = false);
    ~RequestLog();
    RequestLog(const RequestLog&) = delete;
    RequestLog& operator=(const RequestLog&) = delete;

    // Logs "cimp-cimom: " + line (escaped) + newline, unless the log is quiet.
    void write(const std::string& line);
    // The same, even when the log is quiet.
    void event(const std::string& line);
    // Writes out whatever is buffered.
    void flush();

  private:
    void writeOut();

    std::ostream& out_;
    const bool quiet_;
    std::mutex mutex_;
    std::string buffer_;
    std::chrono::steady_clock::time_point lastWriteOut_;
};

}  // namespace cimhost
