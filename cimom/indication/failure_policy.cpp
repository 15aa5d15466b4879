#include "cimom/indication/failure_policy.h"

#include <algorithm>

namespace cimhost {

FailureAction actionOnFailure(const FailureRules& rules, std::chrono::seconds failingFor) {
    FailureAction action = FailureAction::None;
    const std::chrono::seconds trigger(rules.failureTriggerTimeInterval.value_or(0));
    if (failingFor >= trigger && rules.onFatalErrorPolicy == 3u) {
        action = FailureAction::Disable;
    } else if (failingFor >= trigger && rules.onFatalErrorPolicy == 4u) {
        action = FailureAction::Remove;
    }
    if (failingFor >= rules.removalInterval) {
        const FailureAction removal = rules.removalAction == 2   ? FailureAction::Remove
                                      : rules.removalAction == 3 ? FailureAction::Disable
                                                                 : FailureAction::None;
        action = std::max(action, removal);
    }
    return action;
}

}  // namespace cimhost
