// The wrappers a CallProbe puts in the broker's function tables: each tells the probe of the call's
// runtime of the call and either passes it on to the broker's own function or answers the fault
// the probe chose, as the broker answers its own failures.
#pragma once

#include <optional>

#include "broker/runtime_state.h"
#include "tests/support/call_probe.h"

namespace cimptest {

// What the probe of `runtime`, if any, makes of a call (call_probe.cpp).
std::optional<InjectedFault> consultProbe(const cimbroker::RuntimeState& runtime,
                                          const char* service, const char* qualifier);

// Puts the wrappers in the broker's tables, once per process; the first probe does it.
void wrapBrokerTables();

}  // namespace cimptest
