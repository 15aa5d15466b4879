// Writer side of a trace ring (layout in trace_ring_format.h).
//
// Any number of threads, and processes sharing the file, may append at once: a writer reserves
// its bytes with one atomic add and never waits for another. Every store into the ring is an
// atomic store of one 8-byte word, so writers a lap apart race only in the sense the reader
// already handles (a torn entry fails its checksum), never in the language's. The ring does not
// own its memory.
#ifndef CIMP_PLATFORM_SIM_TRACE_RING_H
#define CIMP_PLATFORM_SIM_TRACE_RING_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/sim/trace_ring_format.h"

namespace cimpsim {

class TraceRing {
  public:
    // Leaves `size` bytes at `base` (8-byte aligned) holding a valid ring named `name`: an
    // existing ring of this size is kept, anything else is replaced by an empty one.
    static void prepare(uint8_t* base, size_t size, const std::string& name);

    // Writes to a ring prepared at `base`. Its header is remembered as it is now, and written
    // back whenever a writer finds it damaged (a file cleared or scribbled on under the mapping),
    // right after `onDamage` (when given) has had the chance to restore the memory behind it.
    TraceRing(uint8_t* base, size_t size, std::function<void()> onDamage = nullptr);

    // Appends an encoded entry of `length` bytes (a multiple of 8, at most kMaxEntrySize); fills
    // in its offset, length and checksum.
    void append(uint8_t* entry, uint32_t length);

  private:
    static constexpr size_t kHeaderWords = ring::kHeaderSize / sizeof(uint64_t);

    bool headerDamaged() const;
    void restoreHeader();

    uint64_t* words_;  // the ring's block: header words, then the entry area
    uint64_t* area_;
    size_t areaWords_;
    uint64_t header_[kHeaderWords];
    std::function<void()> onDamage_;
};

}  // namespace cimpsim

#endif
