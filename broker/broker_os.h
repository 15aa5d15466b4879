// CMPIBrokerExtFT of the runtime's broker: threads, thread keys, mutexes and conditions on
// pthreads. Mutexes are recursive. Handles returned by newMutex/newCondition belong to the caller
// until destroyMutex/destroyCondition. Thread-safe.
#pragma once

#include "cmpift.h"

namespace cimbroker {

CMPIBrokerExtFT* osFunctionTable();

}  // namespace cimbroker
