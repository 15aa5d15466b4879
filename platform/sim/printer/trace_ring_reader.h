// Reader side of a trace ring (layout in platform/sim/trace_ring_format.h).
//
// Works on a snapshot of the ring's bytes (a file read whole) and never reads outside it: a
// header that does not describe exactly these bytes is an error, and entries that are
// incomplete, torn or overwritten are skipped.
#ifndef CIMP_PLATFORM_SIM_PRINTER_TRACE_RING_READER_H
#define CIMP_PLATFORM_SIM_PRINTER_TRACE_RING_READER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cimpsim {

struct DecodedArg {
    char kind;  // 'X', 'd', 's' or 'n' (a null text)
    uint32_t value;
    std::string text;
};

struct DecodedEntry {
    uint64_t offset;  // logical offset in the ring: later entries have larger ones
    uint64_t timestampNanos;
    uint32_t formatId;
    uint32_t line;
    uint32_t threadId;
    int32_t type;
    std::string argTypes;
    std::vector<DecodedArg> args;
};

struct RingContents {
    std::string name;
    uint64_t head;  // logical bytes written so far
    uint32_t ringSize;
    std::vector<DecodedEntry> entries;  // oldest first
};

// Decodes `size` bytes at `data`; false with a reason in `error` when they are not a ring.
bool readTraceRing(const uint8_t* data, size_t size, RingContents& contents, std::string& error);

}  // namespace cimpsim

#endif
