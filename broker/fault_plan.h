// Failure injection for tests: makes the Nth call of a named broker or object service fail.
//
// Services carry their CMPI function names ("newInstance", "getKey", "setElementAt",
// "returnInstance", ...). setProperty and addKey calls also answer to a name qualified by the
// property or key: "setProperty:Name", "addKey:Name". Names match without regard to letter case.
// Each rule counts the calls that match it from the moment it is added (1-based) and fires once.
// A failing call does nothing and answers `rc` with `message`; a null call does nothing and
// answers its empty value (null object, 0, false, a null CMPIData) with CMPI_RC_OK.
// A rule for n < 1 throws std::invalid_argument. Thread-safe.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "cmpidt.h"

namespace cimbroker {

struct Fault {
    enum class Kind { Fail, Null };
    Kind kind;
    CMPIrc rc;
    std::string message;
};

class FaultPlan {
  public:
    void failNth(const std::string& service, int n, CMPIrc rc, const std::string& message);
    void nullNth(const std::string& service, int n);
    void clear();

    // Called by the runtime for every service call: `qualified` is "setProperty:Name" style or
    // empty. Counts the call against every matching rule and returns the first that fires.
    std::optional<Fault> consult(const std::string& service, const std::string& qualified);

    // Cheap test the runtime makes before building names for consult().
    bool armed() const { return armed_.load(std::memory_order_relaxed); }

  private:
    struct Rule {
        std::string service;  // lower-cased
        int n;
        int seen;
        Fault fault;
    };
    void addRule(const std::string& service, int n, Fault fault);

    mutable std::mutex mutex_;
    std::vector<Rule> rules_;
    std::atomic<bool> armed_{false};
};

}  // namespace cimbroker
