// What becomes of a subscription when an indication for its listener destination is given up
// on (DSP1054): its OnFatalErrorPolicy (2 Ignore, also when NULL or 1 Other; 3 Disable; 4 Remove)
// once deliveries have been failing for its FailureTriggerTimeInterval (none: at once), and the
// indication service's SubscriptionRemovalAction (2 Remove, 3 Disable, 4 Ignore) once they have
// been failing for its SubscriptionRemovalTimeInterval. Removal wins over disabling. Pure.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace cimhost {

enum class FailureAction { None, Disable, Remove };

struct FailureRules {
    std::optional<std::uint64_t> onFatalErrorPolicy;          // the subscription's
    std::optional<std::uint64_t> failureTriggerTimeInterval;  // the subscription's, seconds
    std::uint64_t removalAction = 2;                          // the service's
    std::chrono::seconds removalInterval{0};                  // the service's
};

FailureAction actionOnFailure(const FailureRules& rules, std::chrono::seconds failingFor);

}  // namespace cimhost
