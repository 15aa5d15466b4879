// One trace entry as the writer collects it: arguments pulled from the caller's varargs by the
// conversions of the argument-type string, and encoded for the ring.
//
// Conversions: %X an unsigned 32-bit value, %d a signed 32-bit value, %s a text (null allowed,
// at most ring::kMaxText bytes kept). Any other conversion ends the argument list, as does the
// ring::kMaxArgs-th argument, so a wrong type string never reads further than it says.
#ifndef CIMP_PLATFORM_SIM_TRACE_ENTRY_H
#define CIMP_PLATFORM_SIM_TRACE_ENTRY_H

#include <cstdarg>
#include <cstddef>
#include <cstdint>

#include "platform/sim/trace_ring_format.h"

namespace cimpsim {

struct TraceArg {
    char kind;  // 'X', 'd' or 's'
    uint32_t value;
    const char* text;  // for 's': the caller's text, may be null
    size_t textLength;
};

struct TraceEntry {
    uint64_t timestampNanos;
    uint32_t formatId;
    uint32_t line;
    uint32_t threadId;
    int32_t type;
    const char* argTypes;   // may be null
    size_t argTypesLength;  // bounded to ring::kMaxArgTypes
    size_t argCount;
    TraceArg args[ring::kMaxArgs];
};

// Fills the argument fields of `entry` from `argTypes` and `args`.
void collectTraceArgs(const char* argTypes, va_list args, TraceEntry& entry);

// Encodes `entry` into `out` (at least ring::kMaxEntrySize bytes), padding included; returns the
// length. The offset, length and checksum are left to TraceRing::append.
uint32_t encodeTraceEntry(const TraceEntry& entry, uint8_t* out);

}  // namespace cimpsim

#endif
