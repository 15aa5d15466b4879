// How the host polls watched classes for lifecycle indications. Plain data.
#pragma once

#include <chrono>
#include <cstddef>

namespace cimhost {

struct LifecycleSettings {
    std::chrono::milliseconds pollInterval{5000};
    // A class with more instances than this is not reported on: the memory kept per class stays
    // bounded (a copy of each instance between polls).
    std::size_t maxInstancesPerClass = 1000;
};

}  // namespace cimhost
