// cimp-platform show: every registry key with its value, the managed indicator, the policy,
// every injected failure and whether CIM serving is on, as "name = value" lines.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_SHOW_COMMAND_H
#define CIMP_TOOLS_CIMP_PLATFORM_SHOW_COMMAND_H

#include "tools/cimp-platform/command.h"

namespace cimpcli {

extern const Command kShowCommand;

}  // namespace cimpcli

#endif
