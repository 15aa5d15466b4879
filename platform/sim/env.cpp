#include "platform/sim/env.h"

#include <atomic>

#include "platform/sim/scoped_env.h"

namespace cimpsim {

namespace {

std::atomic<Env*> g_override{nullptr};

}  // namespace

Env& currentEnv() {
    Env* env = g_override.load(std::memory_order_acquire);
    return env != nullptr ? *env : systemEnv();
}

ScopedEnv::ScopedEnv(Env& env) : previous_(g_override.exchange(&env, std::memory_order_acq_rel)) {}

ScopedEnv::~ScopedEnv() {
    g_override.store(previous_, std::memory_order_release);
}

}  // namespace cimpsim
