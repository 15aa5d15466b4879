#include "tools/cimp-platform/target.h"

#include "platform/sim/registry_key.h"

namespace cimpcli {

namespace {

constexpr char kManagedFile[] = "drax/managed";
constexpr char kPolicyFile[] = "rmgr/policy_enabled";

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

cimp::Outcome parseTarget(const std::string& text, Target* target) {
    if (text == "managed") {
        *target = {TargetKind::Managed, text, kManagedFile};
        return cimp::Outcome::success();
    }
    if (text == "policy") {
        *target = {TargetKind::Policy, text, kPolicyFile};
        return cimp::Outcome::success();
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
    const std::string registryPrefix = std::string(kRegistryDir) + "/";
    if (file == kManagedFile || file == kPolicyFile) {
        return parseTarget(file == kManagedFile ? "managed" : "policy", target).ok();
    }
    return file.compare(0, registryPrefix.size(), registryPrefix) == 0 &&
           parseRegistryKey(file.substr(registryPrefix.size()), target).ok();
}

}  // namespace cimpcli
