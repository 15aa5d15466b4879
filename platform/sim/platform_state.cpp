#include "platform/platform_state.h"

#include "platform/sim/errl_log.h"
#include "platform/sim/platform_root.h"

std::optional<std::string> cimpPlatformRootFromEnvironment() {
    return cimpsim::rootFromEnvironment(cimpsim::currentEnv());
}

std::uint64_t cimpCommittedErrlEntries() {
    return cimpsim::lastSequenceOfLog(cimpsim::platformRoot(cimpsim::currentEnv()) + "/errl/log");
}
