// Whether the provider serves CIM on this platform root, as the enablement gate itself decides it
// through the platform's services (fault files included), and why not.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_SERVING_STATE_H
#define CIMP_TOOLS_CIMP_PLATFORM_SERVING_STATE_H

#include <string>

namespace cimpcli {

// "on", or "off (<which fact closes it, or which call fails>)". Points the platform at `root`
// (CIMP_PLATFORM_ROOT) for the rest of the process.
std::string servingState(const std::string& root);

}  // namespace cimpcli

#endif
