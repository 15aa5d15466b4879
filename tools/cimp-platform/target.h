// What cimp-platform commands name: a registry key "area/name", the managed indicator
// ("managed") or the redundancy-policy service ("policy"). Each is one value file below the
// platform root, and a failure is injected by a ".fail" file beside it.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_TARGET_H
#define CIMP_TOOLS_CIMP_PLATFORM_TARGET_H

#include <string>

#include "base/outcome.h"

namespace cimpcli {

enum class TargetKind { Registry, Managed, Policy };

struct Target {
    TargetKind kind;
    std::string name;  // as the user writes it: "fstp/SystemName", "managed", "policy"
    std::string file;  // below the root: "registry/fstp/SystemName", "drax/managed"
};

constexpr char kFaultSuffix[] = ".fail";
constexpr char kRegistryDir[] = "registry";

// The targets that are not registry keys: managed, then policy.
extern const Target kFixedTargets[2];

// True when `text` ends with `tail`.
bool endsWith(const std::string& text, const std::string& tail);

// Bad usage when `text` names none of them (a key that is not a plain "area/name", or whose
// name would be taken for a fault file).
cimp::Outcome parseTarget(const std::string& text, Target* target);

// The same, refusing anything but a registry key.
cimp::Outcome parseRegistryKey(const std::string& text, Target* target);

// The target whose value file is `file` (below the root), or false for any other file.
bool targetOfFile(const std::string& file, Target* target);

}  // namespace cimpcli

#endif
