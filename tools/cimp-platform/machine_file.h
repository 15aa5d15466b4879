// Machine files: the values `cimp-platform init` lays out.
//
// Text, one `key = value` a line; blank lines and lines whose first non-blank is `#` are
// ignored; blanks around key and value are dropped. A key is a registry key "area/name" (value:
// a tagged value as value_codec.h takes it), "managed" (a 32-bit number) or "policy" (on, off or
// empty). A later line for the same key wins. Faults name the line: "<file>:<line>".
#ifndef CIMP_TOOLS_CIMP_PLATFORM_MACHINE_FILE_H
#define CIMP_TOOLS_CIMP_PLATFORM_MACHINE_FILE_H

#include <map>
#include <string>

#include "base/outcome.h"

namespace cimpcli {

// The most a machine file may hold.
constexpr size_t kMaxMachineFileBytes = 64 * 1024;

// Value file (below the root) -> its bytes.
using Machine = std::map<std::string, std::string>;

// The example machine (examples/platform) as a machine file.
extern const char kExampleMachine[];

// Adds the lines of `text` (named `source` in faults) to `machine`.
cimp::Outcome parseMachine(const std::string& source, const std::string& text, Machine* machine);

}  // namespace cimpcli

#endif
