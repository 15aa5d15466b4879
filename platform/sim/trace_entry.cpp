#include "platform/sim/trace_entry.h"

#include <algorithm>
#include <cstring>

namespace cimpsim {

namespace {

// Bound on how far the type string is scanned; longer strings are malformed anyway.
constexpr size_t kArgTypesScanLimit = 64;

}  // namespace

uint32_t encodeTraceEntry(const ring::EntryHeader& header, const char* argTypes, va_list args,
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

}  // namespace cimpsim
