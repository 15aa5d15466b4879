#include "tests/support/call_probe.h"

#include <algorithm>

#include "base/text_case.h"
#include "tests/support/wrapped_tables.h"

namespace cimptest {
namespace {

using cimp::equalsIgnoreCase;

// The live probes, by the runtime state they watch. Held while a probe is consulted, so a probe
// is not destroyed under a call.
std::mutex gProbesMutex;
std::vector<std::pair<const void*, CallProbe*>> gProbes;

}  // namespace

std::optional<InjectedFault> consultProbe(const cimbroker::RuntimeState& runtime,
                                          const char* service, const char* qualifier) {
    std::lock_guard<std::mutex> lock(gProbesMutex);
    for (const auto& [watched, probe] : gProbes) {
        if (watched == &runtime) {
            return probe->onCall(service, qualifier);
        }
    }
    return std::nullopt;
}

CallProbe::CallProbe(cimbroker::Runtime& runtime)
    : runtimeState_(cimbroker::RuntimeState::from(runtime.broker())) {
    wrapBrokerTables();
    std::lock_guard<std::mutex> lock(gProbesMutex);
    gProbes.emplace_back(runtimeState_, this);
}

CallProbe::~CallProbe() {
    std::lock_guard<std::mutex> lock(gProbesMutex);
    gProbes.erase(std::find(gProbes.begin(), gProbes.end(), std::pair{runtimeState_, this}));
}

std::vector<std::string> CallProbe::names() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return names_;
}

size_t CallProbe::count(const std::string& name) const {
    const bool countQualified = name.find(':') == std::string::npos;
    std::lock_guard<std::mutex> lock(mutex_);
    size_t matches = 0;
    for (const std::string& logged : names_) {
        const std::string_view service = std::string_view(logged).substr(
            0, countQualified ? logged.find(':') : std::string::npos);
        matches += equalsIgnoreCase(service, name) ? 1 : 0;
    }
    return matches;
}

void CallProbe::clearCalls() {
    std::lock_guard<std::mutex> lock(mutex_);
    names_.clear();
}

void CallProbe::failNth(const std::string& service, int n, CMPIrc rc, const std::string& message) {
    std::lock_guard<std::mutex> lock(mutex_);
    rules_.push_back(Rule{service, n, 0, {false, rc, message}});
}

void CallProbe::nullNth(const std::string& service, int n) {
    std::lock_guard<std::mutex> lock(mutex_);
    rules_.push_back(Rule{service, n, 0, {true, CMPI_RC_OK, std::string()}});
}

void CallProbe::clearFaults() {
    std::lock_guard<std::mutex> lock(mutex_);
    rules_.clear();
}

std::optional<InjectedFault> CallProbe::onCall(const char* service, const char* qualifier) {
    const std::string qualified =
        qualifier != nullptr ? std::string(service) + ":" + qualifier : std::string(service);
    std::lock_guard<std::mutex> lock(mutex_);
    names_.push_back(qualified);
    std::optional<InjectedFault> fired;
    for (Rule& rule : rules_) {
        const bool matches =
            equalsIgnoreCase(rule.service, service) || equalsIgnoreCase(rule.service, qualified);
        if (matches && rule.seen < rule.n && ++rule.seen == rule.n && !fired) {
            fired = rule.fault;
        }
    }
    return fired;
}

}  // namespace cimptest
