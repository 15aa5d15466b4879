#include "cimom/http/errl_count.h"

#include "platform/sim/errl_log.h"

namespace cimhost {

std::uint64_t errlEntryCount(const std::string& platformRoot) {
    return cimpsim::lastSequenceOfLog(platformRoot + "/errl/log");
}

}  // namespace cimhost
