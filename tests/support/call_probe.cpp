#include "tests/support/call_probe.h"

#include "base/text_case.h"

namespace cimptest {

using cimp::equalsIgnoreCase;

CallProbe::CallProbe(cimbroker::Runtime& runtime) : runtime_(runtime) {
    runtime_.setCallHook(this);
}

CallProbe::~CallProbe() {
    runtime_.setCallHook(nullptr);
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

std::optional<cimbroker::InjectedFault> CallProbe::onCall(const char* service,
                                                          const char* qualifier) {
    const std::string qualified =
        qualifier != nullptr ? std::string(service) + ":" + qualifier : std::string(service);
    std::lock_guard<std::mutex> lock(mutex_);
    names_.push_back(qualified);
    std::optional<cimbroker::InjectedFault> fired;
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
