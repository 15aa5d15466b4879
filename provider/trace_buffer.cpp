#include "provider/trace_buffer.h"

trace_desc_t g_cimpTd = TRACE_DESC_INVALID;

namespace {

// Opens "CIMP" when the library is loaded, before a CIMOM can call a factory. Nothing closes it.
struct TraceBufferOpener {
    TraceBufferOpener() { trace_adal_init_buffer(&g_cimpTd, "CIMP", 4096); }
};
const TraceBufferOpener s_traceBufferOpener;

}  // namespace
