#include "platform/sim/platform_root.h"

namespace cimpsim {

const char* defaultPlatformRoot() {
    return CIMP_DEFAULT_PLATFORM_ROOT;
}

std::optional<std::string> rootFromEnvironment(const Env& env) {
    std::optional<std::string> root = env.variable("CIMP_PLATFORM_ROOT");
    if (root && !root->empty() && (*root)[0] == '/') {
        return root;
    }
    return std::nullopt;
}

std::string platformRoot(const Env& env) {
    return rootFromEnvironment(env).value_or(defaultPlatformRoot());
}

std::shared_ptr<const Directory> platformDirectory(const Env& env, bool create) {
    return env.directory(platformRoot(env), create);
}

}  // namespace cimpsim
