// The objects that `clone` handed out: owned by the caller until it calls `release`. Lookups go by
// handle address alone, so `release` of a stale or foreign handle is answered without touching
// it. Process-wide and thread-safe.
#pragma once

#include <memory>

#include "broker/object_model.h"

namespace cimbroker {

// Registers `object` and returns its CMPI handle.
void* handToCaller(std::unique_ptr<Object> object);

// Frees the clone behind `handle`; false when `handle` is not a live clone.
bool takeBackFromCaller(const void* handle);

// Frees the clones of `runtime` still held by callers; called when the runtime ends, so no clone
// outlives the state it refers to.
void reclaimClonesOf(const RuntimeState& runtime);

// Makes sure the registry is built before the first runtime, and so outlives every runtime.
void prepareCallerOwnedRegistry();

}  // namespace cimbroker
