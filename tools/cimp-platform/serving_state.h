// Whether the provider serves CIM on this platform root: the three facts of the enablement gate
// read as the platform services read them (fault files included), in the gate's order, stopping
// at the first that closes it.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_SERVING_STATE_H
#define CIMP_TOOLS_CIMP_PLATFORM_SERVING_STATE_H

#include <string>

namespace cimpcli {

// "on", or "off (<which fact closes it, or which read fails>)".
std::string servingState(const std::string& root);

}  // namespace cimpcli

#endif
