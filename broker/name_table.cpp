#include "broker/name_table.h"

#include <functional>
#include <memory>

#include "broker/arena.h"
#include "broker/runtime_state.h"

namespace cimbroker {

NameTable::~NameTable() {
    for (std::atomic<const StringObject*>& slot : slots_) {
        delete slot.load(std::memory_order_acquire);
    }
}

SharedString NameTable::find(RuntimeState& runtime, std::string_view name) {
    if (name.size() > kMaxNameLength) {
        return SharedString();
    }
    const size_t start = std::hash<std::string_view>()(name) % kSlots;
    for (size_t probe = 0; probe < kSlots; ++probe) {
        std::atomic<const StringObject*>& slot = slots_[(start + probe) % kSlots];
        const StringObject* kept = slot.load(std::memory_order_acquire);
        if (kept == nullptr) {
            kept = claim(runtime, slot, name);
        }
        if (kept == nullptr) {
            return SharedString();
        }
        if (kept->text() == name) {
            return SharedString::keep(*kept);
        }
    }
    return SharedString();
}

const StringObject* NameTable::claim(RuntimeState& runtime,
                                     std::atomic<const StringObject*>& slot,
                                     std::string_view name) {
    if (count_.fetch_add(1, std::memory_order_relaxed) >= kMaxNames) {
        count_.fetch_sub(1, std::memory_order_relaxed);
        return nullptr;
    }
    std::unique_ptr<StringObject> made = StringObject::makeKept(runtime, name);
    const StringObject* expected = nullptr;
    if (slot.compare_exchange_strong(expected, made.get(), std::memory_order_acq_rel,
                                     std::memory_order_acquire)) {
        return made.release();
    }
    count_.fetch_sub(1, std::memory_order_relaxed);
    return expected;  // another thread's name, maybe this one
}

SharedString nameText(RuntimeState& runtime, std::string_view text) {
    SharedString kept = runtime.names.find(runtime, text);
    return kept ? kept : sharedText(runtime, text);
}

}  // namespace cimbroker
