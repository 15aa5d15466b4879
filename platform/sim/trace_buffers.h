// The process's open trace buffers, by name.
//
// A buffer is a ring kept in the file <root>/trace/<name>, mapped shared, or in an unnamed memory
// file "cimp-trace:<name>" when that file cannot be used (a name that is not a plain file name, an
// unwritable root); either shows in /proc/<pid>/maps for a reader. A descriptor is
// the buffer's index; opening a name again returns the same descriptor. Buffers stay for the life
// of the process, because other libraries may trace from their static destructors. Thread-safe:
// opening takes a lock, finding a buffer is one atomic load.
#ifndef CIMP_PLATFORM_SIM_TRACE_BUFFERS_H
#define CIMP_PLATFORM_SIM_TRACE_BUFFERS_H

#include <cstddef>
#include <cstdint>

#include "platform/sim/trace_ring.h"

namespace cimpsim {

constexpr size_t kMaxTraceBuffers = 32;

// The descriptor of buffer `name` (opened with `size` bytes, clamped to the ring bounds, when
// new), or false when the name is null or the table is full.
bool openTraceBuffer(const char* name, size_t size, uint32_t& descriptor);

// The ring of `descriptor`, or null for a descriptor that was never handed out.
TraceRing* findTraceBuffer(uint32_t descriptor);

}  // namespace cimpsim

#endif
