// cimp-platform trace [NAME|PATH] [--follow] [--formats]: prints a trace ring as cimp-trace does
// (the same printer), or with --follow keeps printing the entries written after those shown.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_TRACE_COMMAND_H
#define CIMP_TOOLS_CIMP_PLATFORM_TRACE_COMMAND_H

#include "tools/cimp-platform/command.h"

namespace cimpcli {

extern const Command kTraceCommand;

}  // namespace cimpcli

#endif
