// cimp-platform fail TARGET RC, clear TARGET|--all, faults: inject, remove and list failures.
// A failure is a fault file beside the target's value file holding a hexadecimal return code;
// while it exists, every read of the target fails with that code.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_FAULT_COMMANDS_H
#define CIMP_TOOLS_CIMP_PLATFORM_FAULT_COMMANDS_H

#include <string>

#include "tools/cimp-platform/command.h"
#include "tools/cimp-platform/target.h"

namespace cimpcli {

extern const Command kFailCommand;
extern const Command kClearCommand;
extern const Command kFaultsCommand;

// The code a read of `target` fails with, as "0x%08X", or why the fault file gives no code.
std::string describeFault(const std::string& root, const Target& target);

}  // namespace cimpcli

#endif
