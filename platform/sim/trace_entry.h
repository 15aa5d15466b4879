// One trace entry encoded for the ring: its header fields, then the arguments pulled from the
// caller's varargs by the conversions of the argument-type string.
//
// Conversions: %X an unsigned 32-bit value, %d a signed 32-bit value, %s a text (null allowed,
// at most ring::kMaxText bytes kept). Any other conversion ends the argument list, as does the
// ring::kMaxArgs-th argument, so a wrong type string never reads further than it says.
#ifndef CIMP_PLATFORM_SIM_TRACE_ENTRY_H
#define CIMP_PLATFORM_SIM_TRACE_ENTRY_H

#include <cstdarg>
#include <cstdint>

#include "platform/sim/trace_ring_format.h"

namespace cimpsim {

// Encodes into `out` (at least ring::kMaxEntrySize bytes) an entry with the fields of `header`
// and the arguments `args` that `argTypes` (may be null) lists, padding included; returns the
// length. The offset, length and checksum are left to TraceRing::append.
uint32_t encodeTraceEntry(const ring::EntryHeader& header, const char* argTypes, va_list args,
                          uint8_t* out);

}  // namespace cimpsim

#endif
