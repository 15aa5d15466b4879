// cimp-platform init DIR [--machine FILE]: lays out a complete platform root in DIR, which must
// not exist or be empty. The root is built in a temporary sibling directory and renamed into
// place, so DIR is never seen half-made.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_INIT_COMMAND_H
#define CIMP_TOOLS_CIMP_PLATFORM_INIT_COMMAND_H

#include "tools/cimp-platform/command.h"

namespace cimpcli {

extern const Command kInitCommand;

}  // namespace cimpcli

#endif
