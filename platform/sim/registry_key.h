// Which registry keys the simulated registry serves, and how keys appear in logs.
//
// A plain key is "area/name": exactly one slash, two non-empty parts that are neither "." nor
// "..", no backslash or control character, at most kMaxRegistryKeyLength bytes. Only a plain key
// is turned into a path, so no key can reach outside the registry directory.
#ifndef CIMP_PLATFORM_SIM_REGISTRY_KEY_H
#define CIMP_PLATFORM_SIM_REGISTRY_KEY_H

#include <cstddef>
#include <string>

namespace cimpsim {

constexpr size_t kMaxRegistryKeyLength = 255;

bool isPlainRegistryKey(const char* key);

// `text` made safe for one log line: at most `limit` bytes of it, bytes outside printable ASCII
// (and blanks and backslashes) as \xHH, a cut marked with "...". Null reads "(null)", empty
// reads "(empty)".
std::string printableKey(const char* text, size_t limit = 64);

}  // namespace cimpsim

#endif
