#include "broker/caller_owned.h"

#include <mutex>
#include <unordered_map>
#include <vector>

namespace cimbroker {
namespace {

struct Registry {
    std::mutex mutex;
    std::unordered_map<const void*, std::unique_ptr<Object>> clones;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

}  // namespace

void* handToCaller(std::unique_ptr<Object> object) {
    void* handle = object->cmpiAddress();
    Registry& reg = registry();
    std::lock_guard<std::mutex> lock(reg.mutex);
    reg.clones.emplace(handle, std::move(object));
    return handle;
}

bool takeBackFromCaller(const void* handle) {
    Registry& reg = registry();
    decltype(reg.clones)::node_type doomed;
    {
        std::lock_guard<std::mutex> lock(reg.mutex);
        doomed = reg.clones.extract(handle);
    }
    return !doomed.empty();  // `doomed` is freed here, outside the lock
}

void reclaimClonesOf(const RuntimeState& runtime) {
    std::vector<std::unique_ptr<Object>> doomed;
    Registry& reg = registry();
    {
        std::lock_guard<std::mutex> lock(reg.mutex);
        for (auto it = reg.clones.begin(); it != reg.clones.end();) {
            if (&it->second->runtime() == &runtime) {
                doomed.push_back(std::move(it->second));
                it = reg.clones.erase(it);
            } else {
                ++it;
            }
        }
    }
}

void prepareCallerOwnedRegistry() {
    registry();
}

}  // namespace cimbroker
