// Trace ring files as cimp-trace reads them: any bytes, torn or hostile, decode or are refused.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/sim/printer/trace_ring_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cimpsim::RingContents contents;
    std::string error;
    if (!cimpsim::readTraceRing(data, size, contents, error)) {
        return 0;
    }
    // Entries come back oldest first.
    for (size_t i = 1; i < contents.entries.size(); ++i) {
        if (contents.entries[i].offset <= contents.entries[i - 1].offset) {
            __builtin_trap();
        }
    }
    return 0;
}
