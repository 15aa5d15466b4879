// Platform trace service (closed on the service processor; simulated in platform/sim).
//
// A component opens a named ring buffer once and then writes entries to it from any thread.
// Writers never fail and never wait for long. An entry is a format identifier, an argument-type
// string listing the conversions of the format (" %X,%s": %X a 32-bit unsigned value, %s a
// NUL-terminated text, %d a signed 32-bit value), the source line, a trace type and the arguments.
#ifndef CIMP_PLATFORM_TRACE_H
#define CIMP_PLATFORM_TRACE_H

#include <stddef.h>
#include <stdint.h>

typedef uint32_t trace_desc_t;
typedef uint32_t trace_hash_val;

// The descriptor a buffer has before it is opened; writes carrying it are dropped.
#define TRACE_DESC_INVALID ((trace_desc_t)0xFFFFFFFFu)

#ifdef __cplusplus
extern "C" {
#endif

// Opens (creating if needed) the buffer `name` of `size` bytes and stores its handle in `*td`.
int trace_adal_init_buffer(trace_desc_t* td, const char* name, size_t size);

// Writes one entry. The arguments follow `argTypes` in number and order.
int trace_adal_write_all(trace_desc_t td, trace_hash_val formatId, const char* argTypes,
                         uint32_t line, int32_t type, ...);

#ifdef __cplusplus
}
#endif

#endif
