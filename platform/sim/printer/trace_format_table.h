// The table from trace format id to format text, generated at build time from the provider's
// trace points (tools/trace_format_scanner.h) and linked into the trace printer.
#ifndef CIMP_PLATFORM_SIM_PRINTER_TRACE_FORMAT_TABLE_H
#define CIMP_PLATFORM_SIM_PRINTER_TRACE_FORMAT_TABLE_H

#include <cstddef>
#include <cstdint>

namespace cimpsim {

struct TraceFormatText {
    uint32_t id;
    const char* text;
};

// Sorted by id, kTraceFormatCount entries (followed by a null sentinel).
extern const TraceFormatText kTraceFormats[];
extern const size_t kTraceFormatCount;

}  // namespace cimpsim

#endif
