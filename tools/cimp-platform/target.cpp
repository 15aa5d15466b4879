#include "tools/cimp-platform/target.h"

#include "platform/sim/registry_key.h"

namespace cimpcli {

const Target kFixedTargets[2] = {{TargetKind::Managed, "managed", "drax/managed"},
                                 {TargetKind::Policy, "policy", "rmgr/policy_enabled"}};

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

cimp::Outcome parseTarget(const std::string& text, Target* target) {
    for (const Target& fixed : kFixedTargets) {
        if (text == fixed.name) {
            *target = fixed;
            return cimp::Outcome::success();
        }
    }
    return parseRegistryKey(text, target);
}

cimp::Outcome parseRegistryKey(const std::string& text, Target* target) {
    if (text.find('\0') != std::string::npos || !cimpsim::isPlainRegistryKey(text.c_str())) {
        return cimp::Outcome::badUsage(text, "not a registry key area/name");
    }
    if (endsWith(text, kFaultSuffix)) {
        return cimp::Outcome::badUsage(text, "a key ending in .fail would be taken for a fault");
    }
    *target = {TargetKind::Registry, text, std::string(kRegistryDir) + "/" + text};
    return cimp::Outcome::success();
}

bool targetOfFile(const std::string& file, Target* target) {
    for (const Target& fixed : kFixedTargets) {
        if (file == fixed.file) {
            *target = fixed;
            return true;
        }
    }
    const std::string registryPrefix = std::string(kRegistryDir) + "/";
    return file.compare(0, registryPrefix.size(), registryPrefix) == 0 &&
           parseRegistryKey(file.substr(registryPrefix.size()), target).ok();
}

}  // namespace cimpcli
