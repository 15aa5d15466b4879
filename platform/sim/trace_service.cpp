// The simulated trace service: the C entry points over trace_buffers.h, and how an entry is
// encoded for the ring.
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <new>

#include "platform/sim/env.h"
#include "platform/sim/trace_buffers.h"
#include "platform/sim/trace_ring_format.h"
#include "platform/trace.h"

namespace {

namespace ring = cimpsim::ring;

// Bound on how far the type string is scanned; longer strings are malformed anyway.
constexpr size_t kArgTypesScanLimit = 64;

// Encodes into `out` (at least ring::kMaxEntrySize bytes) an entry with the fields of `header`
// and the arguments `args` that `argTypes` (may be null) lists: %X an unsigned 32-bit value, %d a
// signed 32-bit value, %s a text (null allowed, at most ring::kMaxText bytes kept). Any other
// conversion ends the list, as does the ring::kMaxArgs-th argument, so a wrong type string never
// reads further than it says. Returns the length, padding included; the offset, length and
// checksum are left to TraceRing::append.
uint32_t encodeEntry(const ring::EntryHeader& header, const char* argTypes, va_list args,
                     uint8_t* out) {
    std::memcpy(out, &header, sizeof header);
    const size_t scanned = argTypes != nullptr ? strnlen(argTypes, kArgTypesScanLimit) : 0;
    const size_t typesLength = std::min(scanned, ring::kMaxArgTypes);
    size_t at = sizeof header;
    out[at++] = static_cast<uint8_t>(typesLength);
    if (typesLength != 0) {
        std::memcpy(out + at, argTypes, typesLength);
        at += typesLength;
    }
    uint8_t& count = out[at++];
    count = 0;
    for (size_t i = 0; i + 1 < scanned && count < ring::kMaxArgs; ++i) {
        if (argTypes[i] != '%') {
            continue;
        }
        const char kind = argTypes[++i];
        if (kind == 'X' || kind == 'd') {
            const uint32_t value =
                kind == 'X' ? va_arg(args, unsigned int) : static_cast<uint32_t>(va_arg(args, int));
            out[at++] = static_cast<uint8_t>(kind);
            std::memcpy(out + at, &value, sizeof value);
            at += sizeof value;
        } else if (kind == 's') {
            const char* text = va_arg(args, const char*);
            const size_t length = text != nullptr ? strnlen(text, ring::kMaxText) : 0;
            out[at++] = text != nullptr ? 's' : 'n';
            if (text != nullptr) {
                out[at++] = static_cast<uint8_t>(length);
                std::memcpy(out + at, text, length);
                at += length;
            }
        } else {
            break;
        }
        ++count;
    }
    const size_t padded = ring::alignUp(at);
    std::memset(out + at, 0, padded - at);
    return static_cast<uint32_t>(padded);
}

uint32_t currentThreadId() {
    thread_local const uint32_t id = static_cast<uint32_t>(syscall(SYS_gettid));
    return id;
}

}  // namespace

extern "C" int trace_adal_init_buffer(trace_desc_t* td, const char* name, size_t size) {
    if (td == nullptr) {
        return -1;
    }
    bool opened = false;
    try {
        opened = cimpsim::openTraceBuffer(name, size, *td);
    } catch (const std::bad_alloc&) {
        // Answered as any buffer that cannot be opened.
    }
    if (!opened) {
        *td = TRACE_DESC_INVALID;
    }
    return opened ? 0 : -1;
}

extern "C" int trace_adal_write_all(trace_desc_t td, trace_hash_val formatId, const char* argTypes,
                                    uint32_t line, int32_t type, ...) {
    cimpsim::TraceRing* buffer = cimpsim::findTraceBuffer(td);
    if (buffer == nullptr) {
        return -1;
    }
    // The offset, length and checksum are the ring's to fill in.
    const ring::EntryHeader header{
        0, 0, 0, cimpsim::currentEnv().nowNanos(), formatId, line, currentThreadId(), type};
    alignas(uint64_t) uint8_t encoded[ring::kMaxEntrySize];
    va_list args;
    va_start(args, type);
    const uint32_t length = encodeEntry(header, argTypes, args, encoded);
    va_end(args);
    buffer->append(encoded, length);
    return 0;
}
