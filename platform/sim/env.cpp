#include "platform/sim/env.h"

#include "platform/sim/scoped_env.h"

namespace cimpsim {

namespace {

// A plain pointer, not an atomic: a ScopedEnv is installed and removed only while no platform call
// runs (scoped_env.h), so production calls pay one ordinary load.
Env* g_override = nullptr;

}  // namespace

Env& currentEnv() {
    return g_override != nullptr ? *g_override : systemEnv();
}

ScopedEnv::ScopedEnv(Env& env) : previous_(g_override) {
    g_override = &env;
}

ScopedEnv::~ScopedEnv() {
    g_override = previous_;
}

}  // namespace cimpsim
