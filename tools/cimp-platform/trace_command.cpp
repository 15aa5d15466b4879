#include "tools/cimp-platform/trace_command.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "platform/sim/printer/trace_format_table.h"
#include "platform/sim/printer/trace_message.h"
#include "platform/sim/printer/trace_printer.h"
#include "platform/sim/printer/trace_ring_reader.h"
#include "platform/sim/trace_ring_format.h"
#include "tools/cimp-platform/follow_loop.h"
#include "tools/cimp-platform/root_files.h"

namespace cimpcli {

namespace {

const char* formatText(uint32_t id) {
    const cimpsim::TraceFormatText* end = cimpsim::kTraceFormats + cimpsim::kTraceFormatCount;
    const cimpsim::TraceFormatText* found = std::lower_bound(
        cimpsim::kTraceFormats, end, id,
        [](const cimpsim::TraceFormatText& format, uint32_t wanted) { return format.id < wanted; });
    return found != end && found->id == id ? found->text : nullptr;
}

// Prints the ring's entries from logical offset `next` on, and moves `next` past them. A ring
// that does not exist yet has no entries.
cimp::Outcome printNewEntries(const std::string& path, uint64_t& next, std::ostream& out) {
    cimp::FileContent read = cimp::readBoundedFile(path, cimpsim::ring::kMaxBufferSize);
    if (!read.status.ok()) {
        return read.missing ? cimp::Outcome::success() : read.status;
    }
    cimpsim::RingContents ring;
    std::string error;
    if (!cimpsim::readTraceRing(reinterpret_cast<const uint8_t*>(read.bytes.data()),
                                read.bytes.size(), ring, error)) {
        return cimp::Outcome::failed(path, error);
    }
    for (const cimpsim::DecodedEntry& entry : ring.entries) {
        if (entry.offset >= next) {
            out << cimpsim::traceLine(formatText(entry.formatId), entry) << "\n";
            next = entry.offset + 1;
        }
    }
    return cimp::Outcome::success();
}

// The printer's "cimp-trace: <what>: <why>" error, and its exit status (1 or 2), as this command's
// own.
cimp::Outcome printerFailure(int exitCode, const std::string& message) {
    const std::string prefix = "cimp-trace: ";
    std::string line = message.substr(0, message.find('\n'));
    if (line.compare(0, prefix.size(), prefix) == 0) {
        line.erase(0, prefix.size());
    }
    const auto outcome = exitCode == 2 ? cimp::Outcome::badUsage : cimp::Outcome::failed;
    size_t split = line.rfind(": ");
    if (split == std::string::npos) {
        return outcome("trace", line);
    }
    return outcome(line.substr(0, split), line.substr(split + 2));
}

cimp::Outcome runTrace(const std::string& root, ArgList& args, std::ostream& out) {
    bool follow = args.takeFlag("--follow");
    bool formats = args.takeFlag("--formats");
    std::vector<std::string> positionals;
    cimp::Outcome status = args.takePositionals(0, 1, &positionals);
    if (!status.ok()) {
        return status;
    }
    std::string name = positionals.empty() ? "CIMP" : positionals[0];
    if (!follow || formats) {
        std::vector<std::string> printerArgs = {"--root", root, name};
        if (formats) {
            printerArgs.push_back("--formats");
        }
        std::ostringstream printerErr;
        int exitCode = cimpsim::runTracePrinter(printerArgs, cimpsim::kTraceFormats,
                                                cimpsim::kTraceFormatCount, out, printerErr);
        return exitCode == 0 ? cimp::Outcome::success()
                             : printerFailure(exitCode, printerErr.str());
    }
    std::string path = name.find('/') == std::string::npos ? root + "/trace/" + name : name;
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
