#include "tools/cimp-platform/trace_command.h"

#include <vector>

#include "platform/sim/printer/trace_format_table.h"
#include "platform/sim/printer/trace_printer.h"
#include "platform/sim/trace_ring_format.h"
#include "tools/cimp-platform/follow_loop.h"
#include "tools/cimp-platform/root_files.h"

namespace cimpcli {

namespace {

const cimpsim::FormatTable kTable{cimpsim::kTraceFormats, cimpsim::kTraceFormatCount};

// Prints the ring's entries from logical offset `next` on, and moves `next` past them. A ring
// that does not exist yet has no entries.
cimp::Outcome printNewEntries(const std::string& path, uint64_t& next, std::ostream& out) {
    cimp::FileContent read = cimp::readBoundedFile(path, cimpsim::ring::kMaxBufferSize);
    if (!read.status.ok()) {
        return read.missing ? cimp::Outcome::success() : read.status;
    }
    return cimpsim::printRingEntries(path, read.bytes, kTable, next, out);
}

cimp::Outcome runTrace(const std::string& root, ArgList& args, std::ostream& out) {
    bool follow = args.takeFlag("--follow");
    bool formats = args.takeFlag("--formats");
    std::vector<std::string> positionals;
    cimp::Outcome status = args.takePositionals(0, 1, &positionals);
    if (!status.ok()) {
        return status;
    }
    const std::string name = positionals.empty() ? "CIMP" : positionals[0];
    const std::string path = cimpsim::traceRingPath(root, name);
    if (!follow || formats) {
        // Printed as cimp-trace prints, which takes no option for a name.
        if (name.empty() || name[0] == '-') {
            return cimp::Outcome::badUsage("trace", "unexpected argument '" + name + "'");
        }
        if (formats) {
            cimpsim::printFormatTable(kTable, out);
            return cimp::Outcome::success();
        }
        return cimpsim::printRingFile(path, kTable, out);
    }
    uint64_t next = 0;
    return followUntilStopped(out, [&] { return printNewEntries(path, next, out); });
}

}  // namespace

const Command kTraceCommand = {
    "trace", "[NAME|PATH] [--follow] [--formats]",
    "print the trace buffer NAME (default CIMP) or the ring file PATH oldest entry first, as\n"
    "cimp-trace does; --follow keeps printing new entries, --formats lists the format table",
    runTrace};

}  // namespace cimpcli
