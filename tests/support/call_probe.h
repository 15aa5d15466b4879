// A call probe for tests: logs the calls a broker runtime serves, for tests that check call orders
// ("a failed build calls no returnDone"), and makes the Nth call of a named service fail or answer
// empty, to reach error paths. Names are the CMPI functions' ("newInstance", "returnDone", ...;
// the broker's own setProperty and getProperty are "brokerSetProperty" and "brokerGetProperty"),
// with setProperty and addKey calls also named by their property or key: "setProperty:Name".
// Names match without regard to letter case. Thread-safe.
//
// The broker knows nothing of it: the first probe replaces the slots of the broker's function
// tables with wrappers that tell the probe of the call's runtime, if any, and otherwise pass the
// call on.
#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "broker/broker_runtime.h"

namespace cimptest {

// How a call ends instead of doing its work: it fails with `rc` and `message`, or, when
// `answersEmpty`, answers its empty value (null object, 0, false, a null CMPIData) with CMPI_RC_OK.
struct InjectedFault {
    bool answersEmpty;
    CMPIrc rc;
    std::string message;
};

class CallProbe {
  public:
    // Watches the calls of `runtime` until destroyed.
    explicit CallProbe(cimbroker::Runtime& runtime);
    ~CallProbe();
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

    // Logs one call and answers the fault it is to end with, if any.
    std::optional<InjectedFault> onCall(const char* service, const char* qualifier);

  private:
    struct Rule {
        std::string service;
        int n;
        int seen;
        InjectedFault fault;
    };

    const void* runtimeState_;
    mutable std::mutex mutex_;
    std::vector<std::string> names_;
    std::vector<Rule> rules_;
};

}  // namespace cimptest
