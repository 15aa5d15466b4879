// The --follow loop of errl and trace: polls until the user stops it.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_FOLLOW_LOOP_H
#define CIMP_TOOLS_CIMP_PLATFORM_FOLLOW_LOOP_H

#include <functional>
#include <ostream>

#include "base/outcome.h"

namespace cimpcli {

// Calls `poll` at once and then every 200 ms until SIGINT or SIGTERM (a normal end: success),
// until `poll` fails, or until `out` can no longer be written (the reader went away).
cimp::Outcome followUntilStopped(std::ostream& out, const std::function<cimp::Outcome()>& poll);

}  // namespace cimpcli

#endif
