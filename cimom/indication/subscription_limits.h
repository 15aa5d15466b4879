// SubscriptionLimits: how many filters, listener destinations and subscriptions the indication
// service keeps at most; a CreateInstance beyond is CIM_ERR_SERVER_LIMITS_EXCEEDED. Plain data.
#pragma once

#include <cstddef>

namespace cimhost {

struct SubscriptionLimits {
    std::size_t filters = 100;
    std::size_t destinations = 100;  // both CIM-XML destination classes together
    std::size_t subscriptions = 100;
};

}  // namespace cimhost
