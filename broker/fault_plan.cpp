#include "broker/fault_plan.h"

#include <stdexcept>

#include "broker/text_case.h"

namespace cimbroker {

void FaultPlan::failNth(const std::string& service, int n, CMPIrc rc, const std::string& message) {
    addRule(service, n, Fault{Fault::Kind::Fail, rc, message});
}

void FaultPlan::nullNth(const std::string& service, int n) {
    addRule(service, n, Fault{Fault::Kind::Null, CMPI_RC_OK, std::string()});
}

void FaultPlan::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    rules_.clear();
    armed_.store(false, std::memory_order_relaxed);
}

std::optional<Fault> FaultPlan::consult(const std::string& service, const std::string& qualified) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::optional<Fault> fired;
    for (Rule& rule : rules_) {
        if (rule.seen >= rule.n) {
            continue;  // spent
        }
        if (!equalsIgnoreCase(rule.service, service) &&
            (qualified.empty() || !equalsIgnoreCase(rule.service, qualified))) {
            continue;
        }
        if (++rule.seen == rule.n && !fired) {
            fired = rule.fault;
        }
    }
    return fired;
}

void FaultPlan::addRule(const std::string& service, int n, Fault fault) {
    if (n < 1) {
        throw std::invalid_argument("FaultPlan: calls are counted from 1, got " +
                                    std::to_string(n) + " for " + service);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    rules_.push_back(Rule{lowerCase(service), n, 0, std::move(fault)});
    armed_.store(true, std::memory_order_relaxed);
}

}  // namespace cimbroker
