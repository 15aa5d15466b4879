// What a platform root holds: its registry keys and its injected failures, sorted by name.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_ROOT_LISTING_H
#define CIMP_TOOLS_CIMP_PLATFORM_ROOT_LISTING_H

#include <string>
#include <vector>

#include "base/outcome.h"
#include "tools/cimp-platform/target.h"

namespace cimpcli {

// A listing stops with a failure beyond this many files, rather than grow without bound.
constexpr size_t kMaxListedFiles = 10000;

// Every registry key with a value file (fault files and temporary files left out).
cimp::Outcome listRegistryKeys(const std::string& root, std::vector<Target>* keys);

// Every target with a fault file beside its value file.
cimp::Outcome listFaults(const std::string& root, std::vector<Target>* faults);

}  // namespace cimpcli

#endif
