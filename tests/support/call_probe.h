// A call hook for tests: logs the calls a broker runtime serves, for tests that check call orders
// ("a failed build calls no returnDone"), and makes the Nth call of a named service fail or answer
// empty, to reach error paths. Names are those the hook is told ("newInstance", "returnDone", ...),
// with setProperty and addKey calls also named by their property or key: "setProperty:Name".
// Names match without regard to letter case. Thread-safe.
#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "broker/broker_runtime.h"

namespace cimptest {

class CallProbe : public cimbroker::CallHook {
  public:
    // Hooks itself into `runtime` until destroyed.
    explicit CallProbe(cimbroker::Runtime& runtime);
    ~CallProbe() override;
    CallProbe(const CallProbe&) = delete;
    CallProbe& operator=(const CallProbe&) = delete;

    // The calls logged, qualified names where there is a qualifier.
    std::vector<std::string> names() const;
    // Calls logged under `name`; a name without a qualifier also counts its qualified forms.
    size_t count(const std::string& name) const;
    void clearCalls();

    // The Nth call (from 1, counted from now) that matches `service` fails with `rc` and
    // `message`, or answers empty with CMPI_RC_OK. A rule fires once; rules count independently.
    void failNth(const std::string& service, int n, CMPIrc rc, const std::string& message);
    void nullNth(const std::string& service, int n);
    void clearFaults();

    std::optional<cimbroker::InjectedFault> onCall(const char* service,
                                                   const char* qualifier) override;

  private:
    struct Rule {
        std::string service;
        int n;
        int seen;
        cimbroker::InjectedFault fault;
    };

    cimbroker::Runtime& runtime_;
    mutable std::mutex mutex_;
    std::vector<std::string> names_;
    std::vector<Rule> rules_;
};

}  // namespace cimptest
