// Recognises any object of this runtime from an untyped handle, for the broker services that take
// `const void*` (toString, isOfType, getType).
#pragma once

#include "broker/object_model.h"

namespace cimbroker {

// The object behind `handle`, or null when it is null or not one of ours. Reads only the handle's
// ft slot, which every CMPI object has at the same place.
Object* identifyObject(const void* handle);

}  // namespace cimbroker
