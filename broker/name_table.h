// The names a runtime's objects carry (namespaces, class names, key, property and entry names),
// each made once and kept until the runtime ends. A provider uses a handful of names over and over,
// so keeping them saves making, counting and freeing the same strings on every request. Looking a
// name up takes no lock and changes no shared count; the table holds at most kMaxNames names, and a
// name beyond that, or longer than kMaxNameLength, is not kept. Thread-safe.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <string_view>

#include "broker/shared_string.h"

namespace cimbroker {

class NameTable {
  public:
    NameTable() = default;
    ~NameTable();
    NameTable(const NameTable&) = delete;
    NameTable& operator=(const NameTable&) = delete;

    // The kept string of `name`, made now if needed; null when `name` cannot be kept.
    SharedString find(RuntimeState& runtime, std::string_view name);
    static constexpr size_t kMaxNames = 512;
    static constexpr size_t kMaxNameLength = 128;

  private:
    // Twice the names it may hold, so a probe meets a free slot soon.
    static constexpr size_t kSlots = 2 * kMaxNames;

    // Claims a free slot for `name`, or answers the name another thread put there first.
    const StringObject* claim(RuntimeState& runtime, std::atomic<const StringObject*>& slot,
                              std::string_view name);

    std::array<std::atomic<const StringObject*>, kSlots> slots_{};
    std::atomic<size_t> count_{0};
};

// The string of name `text`: the runtime's kept one, else one from the current arena.
SharedString nameText(RuntimeState& runtime, std::string_view text);

}  // namespace cimbroker
