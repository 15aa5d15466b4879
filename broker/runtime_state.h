// The state behind one Runtime, shared by its broker and every object the broker makes. The
// broker's hdl points at it. Thread-safe where Runtime says it is.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "broker/arena.h"
#include "broker/class_hierarchy.h"
#include "broker/indication_sink.h"
#include "broker/name_table.h"
#include "cmpift.h"

namespace cimbroker {

struct RuntimeState {
    RuntimeState();
    RuntimeState(const RuntimeState&) = delete;
    RuntimeState& operator=(const RuntimeState&) = delete;

    // The state behind a broker, or null when `broker` is null or not one of ours. With
    // runtime(), this lets broker functions share runQuery/runUpdate with the object tables.
    static RuntimeState* from(const CMPIBroker* broker);
    RuntimeState& runtime() { return *this; }

    bool classIsA(std::string_view cls, std::string_view ancestor) const;
    void replaceHierarchy(ClassHierarchy hierarchy);

    // Declared first so it outlives every object counted in it.
    std::atomic<size_t> liveObjects{0};
    // Declared next so the names outlive every object that holds one.
    NameTable names;
    std::atomic<bool> echoDiagnostics{false};
    CMPIBroker broker;
    std::atomic<IndicationSink*> indicationSink{nullptr};
    std::shared_ptr<const ClassHierarchy> hierarchy;  // replaced whole, read and set atomically
    // Declared last so its objects go before the rest of the state.
    Arena fallback{Arena::Users::AnyThread};
};

}  // namespace cimbroker
