// Where the simulated platform keeps its state.
//
// The root is CIMP_PLATFORM_ROOT, read at each call, when it is set to an absolute path;
// otherwise the build's default (CIMP_DEFAULT_PLATFORM_ROOT), because a CIMOM may start
// providers with an empty or damaged environment.
#ifndef CIMP_PLATFORM_SIM_PLATFORM_ROOT_H
#define CIMP_PLATFORM_SIM_PLATFORM_ROOT_H

#include <memory>
#include <optional>
#include <string>

#include "platform/sim/env.h"

namespace cimpsim {

// The root compiled into the library.
const char* defaultPlatformRoot();

// CIMP_PLATFORM_ROOT of `env` when it is an absolute path.
std::optional<std::string> rootFromEnvironment(const Env& env);

// The root in force for `env`.
std::string platformRoot(const Env& env);

// That root opened through `env`; `create` makes it when missing (for writers).
std::shared_ptr<const Directory> platformDirectory(const Env& env, bool create);

}  // namespace cimpsim

#endif
