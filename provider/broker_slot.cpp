#include "provider/broker_slot.h"

#include <atomic>

namespace {

// Atomic only so that the unlocked store and loads on CIMOM threads are well defined; the
// release/acquire pair makes the broker's tables visible to a thread that reads the handle.
std::atomic<const CMPIBroker*> s_broker{nullptr};

}  // namespace

void cimpStoreBroker(const CMPIBroker* broker) {
    s_broker.store(broker, std::memory_order_release);
}

const CMPIBroker* cimpStoredBroker() {
    return s_broker.load(std::memory_order_acquire);
}
