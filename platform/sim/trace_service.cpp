// The simulated trace service: the C entry points over trace_buffers.h and trace_entry.h.
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdarg>

#include "platform/sim/env.h"
#include "platform/sim/trace_buffers.h"
#include "platform/sim/trace_entry.h"
#include "platform/trace.h"

namespace {

uint32_t currentThreadId() {
    thread_local const uint32_t id = static_cast<uint32_t>(syscall(SYS_gettid));
    return id;
}

}  // namespace

extern "C" int trace_adal_init_buffer(trace_desc_t* td, const char* name, size_t size) {
    if (td == nullptr) {
        return -1;
    }
    uint32_t descriptor = 0;
    if (!cimpsim::openTraceBuffer(name, size, descriptor)) {
        *td = TRACE_DESC_INVALID;
        return -1;
    }
    *td = descriptor;
    return 0;
}

extern "C" int trace_adal_write_all(trace_desc_t td, trace_hash_val formatId, const char* argTypes,
                                    uint32_t line, int32_t type, ...) {
    cimpsim::TraceRing* ring = cimpsim::findTraceBuffer(td);
    if (ring == nullptr) {
        return -1;
    }
    // The offset, length and checksum are the ring's to fill in.
    const cimpsim::ring::EntryHeader header{
        0, 0, 0, cimpsim::currentEnv().nowNanos(), formatId, line, currentThreadId(), type};
    alignas(uint64_t) uint8_t encoded[cimpsim::ring::kMaxEntrySize];
    va_list args;
    va_start(args, type);
    const uint32_t length = cimpsim::encodeTraceEntry(header, argTypes, args, encoded);
    va_end(args);
    ring->append(encoded, length);
    return 0;
}
