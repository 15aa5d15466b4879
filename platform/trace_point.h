// How the provider writes its trace points to the platform trace buffer "CIMP".
//
// CIMP_TRACE(argTypes, format, args...) writes one entry whose format identifier is a
// compile-time FNV-1a hash of `format`. The build scans the provider's sources for CIMP_TRACE and
// generates the table from identifier to format text that the trace printer uses, so `format`
// must be a single string literal. Arguments follow `argTypes`: %X takes an unsigned 32-bit value,
// %s a NUL-terminated text, %d a signed 32-bit value.
#ifndef CIMP_PLATFORM_TRACE_POINT_H
#define CIMP_PLATFORM_TRACE_POINT_H

#include <cstdint>
#include <type_traits>

#include "platform/trace.h"

// The provider's trace descriptor, all ones until the buffer is opened at load.
extern trace_desc_t g_cimpTd;

namespace cimp {

constexpr uint32_t traceFormatId(const char* format) {
    uint32_t hash = 2166136261u;
    for (; *format != '\0'; ++format) {
        hash ^= static_cast<uint8_t>(*format);
        hash *= 16777619u;
    }
    return hash;
}

}  // namespace cimp

#define CIMP_TRACE(argTypes, format, ...)                                                       \
    trace_adal_write_all(g_cimpTd,                                                              \
                         std::integral_constant<uint32_t, ::cimp::traceFormatId(format)>::value, \
                         argTypes, __LINE__, 0, ##__VA_ARGS__)

#endif
