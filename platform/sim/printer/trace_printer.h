// The trace printer's command line: cimp-trace [--root DIR] [--formats] [NAME|PATH].
//
// Prints the trace ring NAME (default "CIMP", in <root>/trace/) or the ring file PATH (any
// argument holding a slash) oldest entry first, one line per entry (trace_message.h). The root
// is --root, else CIMP_PLATFORM_ROOT when absolute, else the library's default. --formats lists
// the format table instead. Exit status: 0 printed, 1 the ring cannot be read or is corrupt, 2
// bad usage; errors go to `err` as "cimp-trace: <what>: <why>".
#ifndef CIMP_PLATFORM_SIM_PRINTER_TRACE_PRINTER_H
#define CIMP_PLATFORM_SIM_PRINTER_TRACE_PRINTER_H

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "platform/sim/printer/trace_format_table.h"

namespace cimpsim {

int runTracePrinter(const std::vector<std::string>& args, const TraceFormatText* formats,
                    size_t formatCount, std::ostream& out, std::ostream& err);

}  // namespace cimpsim

#endif
