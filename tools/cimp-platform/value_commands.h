// cimp-platform get/set/unset KEY and set-role, set-managed, set-policy: read and change the
// values the provider reads. Every write validates first and replaces the file atomically.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_VALUE_COMMANDS_H
#define CIMP_TOOLS_CIMP_PLATFORM_VALUE_COMMANDS_H

#include "tools/cimp-platform/command.h"

namespace cimpcli {

extern const Command kGetCommand;
extern const Command kSetCommand;
extern const Command kUnsetCommand;
extern const Command kSetRoleCommand;
extern const Command kSetManagedCommand;
extern const Command kSetPolicyCommand;

}  // namespace cimpcli

#endif
