#include "broker/object_model.h"

#include "broker/runtime_state.h"

namespace cimbroker {

Object::Object(RuntimeState& runtime) : runtime_(runtime) {
    runtime_.liveObjects.fetch_add(1, std::memory_order_relaxed);
}

Object::~Object() {
    runtime_.liveObjects.fetch_sub(1, std::memory_order_relaxed);
}

}  // namespace cimbroker
