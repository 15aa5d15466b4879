// The tests' indication listener (tests/e2e/indication_listener.py) run as a child process:
// started on a port (0 picks one) with the listener's options, stopped by its destructor, and
// what it received read back from its output file.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace cimhosttest {

class IndicationListenerProcess {
  public:
    // `options`: more of the listener's options ("--fail", "2"; "--black-hole"). `out`: the file
    // it appends indications to. Fails the test when the listener does not start.
    IndicationListenerProcess(const std::string& out, std::vector<std::string> options = {},
                              int port = 0);
    ~IndicationListenerProcess();
    IndicationListenerProcess(const IndicationListenerProcess&) = delete;
    IndicationListenerProcess& operator=(const IndicationListenerProcess&) = delete;

    int port() const { return port_; }
    // http://127.0.0.1:PORT, or https:// when the options name a certificate.
    std::string url() const { return scheme_ + "://127.0.0.1:" + std::to_string(port_); }

  private:
    pid_t pid_ = -1;
    int port_ = 0;
    std::string scheme_ = "http";
};

// The lines of a listener's output file, one JSON object each.
std::vector<std::string> receivedLines(const std::string& out);

// The value of string property `name` in a received line ("" when absent): enough for the
// plain values the tests compare.
std::string receivedProperty(const std::string& line, const std::string& name);

}  // namespace cimhosttest
