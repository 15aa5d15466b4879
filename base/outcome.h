// Outcome: how a step outside CIM ends (reading the daemon's options or configuration file,
// setting up the HTTP front, a cimp-platform command): ok, or failed with what failed (a file,
// an option, an argument) and why, plus the exit status a command ends with (1 failed, 2 bad
// usage). CIM operations answer with cimhost::Status instead; the two never stand in for each
// other. A plain value: copy freely, share between threads.
#pragma once

#include <string>
#include <utility>

namespace cimp {

class Outcome {
  public:
    Outcome() = default;

    static Outcome success() { return Outcome(); }
    static Outcome failed(std::string what, std::string why) {
        return Outcome(1, std::move(what), std::move(why));
    }
    static Outcome badUsage(std::string what, std::string why) {
        return Outcome(2, std::move(what), std::move(why));
    }

    bool ok() const { return exitStatus_ == 0; }
    int exitStatus() const { return exitStatus_; }
    const std::string& what() const { return what_; }
    const std::string& why() const { return why_; }
    // "<what>: <why>", or the reason alone when nothing in particular failed.
    std::string message() const { return what_.empty() ? why_ : what_ + ": " + why_; }

  private:
    Outcome(int exitStatus, std::string what, std::string why)
        : exitStatus_(exitStatus), what_(std::move(what)), why_(std::move(why)) {}

    int exitStatus_ = 0;
    std::string what_;
    std::string why_;
};

}  // namespace cimp
