// Writer side of a trace ring (layout in trace_ring_format.h).
//
// Any number of threads, and processes sharing the file, may append at once: a writer reserves
// its bytes with one atomic add and never waits for another. The ring does not own its memory.
#ifndef CIMP_PLATFORM_SIM_TRACE_RING_H
#define CIMP_PLATFORM_SIM_TRACE_RING_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace cimpsim {

class TraceRing {
  public:
    // Leaves `size` bytes at `base` (8-byte aligned) holding a valid ring named `name`: an
    // existing ring of this size is kept, anything else is replaced by an empty one.
    static void prepare(uint8_t* base, size_t size, const std::string& name);

    // Writes to a prepared ring.
    TraceRing(uint8_t* base, size_t size);

    // Appends an encoded entry of `length` bytes (a multiple of 8, at most kMaxEntrySize); fills
    // in its offset, length and checksum.
    void append(uint8_t* entry, uint32_t length);

  private:
    void copyIn(uint64_t logical, const uint8_t* bytes, size_t count);

    uint64_t* head_;
    uint8_t* area_;
    uint64_t areaSize_;
};

}  // namespace cimpsim

#endif
