#include "platform/sim/trace_entry.h"

#include <algorithm>
#include <cstring>

namespace cimpsim {

namespace {

// Bound on how far the type string is scanned; longer strings are malformed anyway.
constexpr size_t kArgTypesScanLimit = 64;

}  // namespace

void collectTraceArgs(const char* argTypes, va_list args, TraceEntry& entry) {
    entry.argTypes = argTypes;
    entry.argCount = 0;
    entry.argTypesLength = 0;
    if (argTypes == nullptr) {
        return;
    }
    size_t length = strnlen(argTypes, kArgTypesScanLimit);
    entry.argTypesLength = std::min(length, ring::kMaxArgTypes);
    for (size_t i = 0; i + 1 < length && entry.argCount < ring::kMaxArgs; ++i) {
        if (argTypes[i] != '%') {
            continue;
        }
        TraceArg& arg = entry.args[entry.argCount];
        arg = TraceArg{argTypes[i + 1], 0, nullptr, 0};
        if (arg.kind == 'X') {
            arg.value = va_arg(args, unsigned int);
        } else if (arg.kind == 'd') {
            arg.value = static_cast<uint32_t>(va_arg(args, int));
        } else if (arg.kind == 's') {
            arg.text = va_arg(args, const char*);
            arg.textLength = arg.text != nullptr ? strnlen(arg.text, ring::kMaxText) : 0;
        } else {
            return;
        }
        ++entry.argCount;
        ++i;
    }
}

uint32_t encodeTraceEntry(const TraceEntry& entry, uint8_t* out) {
    ring::EntryHeader header{};
    header.timestampNanos = entry.timestampNanos;
    header.formatId = entry.formatId;
    header.line = entry.line;
    header.threadId = entry.threadId;
    header.type = entry.type;
    std::memcpy(out, &header, sizeof header);
    size_t at = sizeof header;
    out[at++] = static_cast<uint8_t>(entry.argTypesLength);
    if (entry.argTypesLength != 0) {
        std::memcpy(out + at, entry.argTypes, entry.argTypesLength);
        at += entry.argTypesLength;
    }
    out[at++] = static_cast<uint8_t>(entry.argCount);
    for (size_t i = 0; i < entry.argCount; ++i) {
        const TraceArg& arg = entry.args[i];
        if (arg.kind == 's' && arg.text == nullptr) {
            out[at++] = 'n';
        } else if (arg.kind == 's') {
            out[at++] = 's';
            out[at++] = static_cast<uint8_t>(arg.textLength);
            std::memcpy(out + at, arg.text, arg.textLength);
            at += arg.textLength;
        } else {
            out[at++] = static_cast<uint8_t>(arg.kind);
            std::memcpy(out + at, &arg.value, sizeof arg.value);
            at += sizeof arg.value;
        }
    }
    const size_t length = ring::alignUp(at);
    std::memset(out + at, 0, length - at);
    return static_cast<uint32_t>(length);
}

}  // namespace cimpsim
