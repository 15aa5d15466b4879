// CMPIBrokerEncFT of the runtime's broker: the factories of encapsulated objects (owned by the
// current arena), classPathIsA from the runtime's class hierarchy, the type and text services,
// messages, logging and tracing (written to stderr only when the runtime echoes diagnostics).
// Select expressions are not supported.
#pragma once

#include "cmpift.h"

namespace cimbroker {

CMPIBrokerEncFT* factoryFunctionTable();

}  // namespace cimbroker
