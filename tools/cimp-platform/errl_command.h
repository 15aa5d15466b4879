// cimp-platform errl [--follow] [--since TIME] [--rc CODE]: the error log <root>/errl/log, one
// entry a line in aligned columns (sequence, committed, return code, the two caller values,
// service, key, created, process). --since keeps entries committed at or after TIME (UTC,
// YYYY-MM-DD[THH:MM[:SS[.fraction]]][Z]); --rc keeps entries with that hexadecimal return code.
// A line that is not an entry is shown as it is when nothing filters.
// cimp-platform errl commit ...: see errl_commit_command.h.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_ERRL_COMMAND_H
#define CIMP_TOOLS_CIMP_PLATFORM_ERRL_COMMAND_H

#include "tools/cimp-platform/command.h"

namespace cimpcli {

extern const Command kErrlCommand;

}  // namespace cimpcli

#endif
