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

#include "base/outcome.h"
#include "platform/sim/printer/trace_format_table.h"

namespace cimpsim {

// The formats the printer names entries by: a table sorted by id.
struct FormatTable {
    const TraceFormatText* formats;
    size_t count;
};

// The ring file NAME or PATH stands for: an argument holding a slash is a path, a name is the
// file of that buffer in <root>/trace/.
std::string traceRingPath(const std::string& root, const std::string& target);

// Prints the entries of `bytes`, the content of the ring file `path`, from logical offset `next`
// on, and moves `next` past them; fails (naming `path`) when the bytes are no ring.
cimp::Outcome printRingEntries(const std::string& path, const std::string& bytes,
                               const FormatTable& table, uint64_t& next, std::ostream& out);

// Reads the ring file `path` (refusing one larger than any ring) and prints all its entries.
cimp::Outcome printRingFile(const std::string& path, const FormatTable& table, std::ostream& out);

// Lists the table, one "0x<id> <text>" line per format.
void printFormatTable(const FormatTable& table, std::ostream& out);

int runTracePrinter(const std::vector<std::string>& args, const TraceFormatText* formats,
                    size_t formatCount, std::ostream& out, std::ostream& err);

}  // namespace cimpsim

#endif
