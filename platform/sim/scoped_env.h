// The simulated platform's test API: puts another Env (env.h) under every platform call, so that a
// test of a provider, ours or another author's, can watch or replace what the platform reads,
// writes, maps and when. Tests only: installing or removing one must not race with platform
// calls, and nothing the platform serves in production asks for it.
#ifndef CIMP_PLATFORM_SIM_SCOPED_ENV_H
#define CIMP_PLATFORM_SIM_SCOPED_ENV_H

#include "platform/sim/env.h"

namespace cimpsim {

// Installs `env` as currentEnv() for its lifetime; the one it replaced comes back after it.
class ScopedEnv {
  public:
    explicit ScopedEnv(Env& env);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    Env* previous_;
};

}  // namespace cimpsim

#endif
