#include "platform/sim/printer/trace_printer.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "base/bounded_file.h"
#include "platform/sim/env.h"
#include "platform/sim/platform_root.h"
#include "platform/sim/printer/trace_message.h"
#include "platform/sim/printer/trace_ring_reader.h"
#include "platform/sim/trace_ring_format.h"

namespace cimpsim {

namespace {

constexpr char kUsage[] =
    "usage: cimp-trace [--root DIR] [--formats] [NAME|PATH]\n"
    "  prints the trace buffer NAME (default CIMP) under DIR/trace, or the ring file PATH\n";

struct Options {
    std::string root;
    std::string target = "CIMP";
    bool listFormats = false;
    bool help = false;
};

bool parseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
    bool haveTarget = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--root" && i + 1 < args.size()) {
            options.root = args[++i];
        } else if (arg == "--formats") {
            options.listFormats = true;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (!arg.empty() && arg[0] != '-' && !haveTarget) {
            options.target = arg;
            haveTarget = true;
        } else {
            error = "unexpected argument '" + arg + "'";
            return false;
        }
    }
    return true;
}

// Reads the whole file, refusing anything larger than a ring can be.
cimp::FileContent readRingFile(const std::string& path) {
    cimp::FileContent read;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        read.status = cimp::Outcome::failed(path, "cannot open");
        return read;
    }
    read.bytes.resize(ring::kMaxBufferSize + 1);
    in.read(&read.bytes[0], static_cast<std::streamsize>(read.bytes.size()));
    read.bytes.resize(static_cast<size_t>(in.gcount()));
    if (in.bad()) {
        read.status = cimp::Outcome::failed(path, "cannot read");
    } else if (read.bytes.size() > ring::kMaxBufferSize) {
        read.status = cimp::Outcome::failed(path, "larger than any trace ring");
    }
    return read;
}

const char* formatText(const FormatTable& table, uint32_t id) {
    const TraceFormatText* end = table.formats + table.count;
    const TraceFormatText* found = std::lower_bound(
        table.formats, end, id,
        [](const TraceFormatText& format, uint32_t wanted) { return format.id < wanted; });
    return found != end && found->id == id ? found->text : nullptr;
}

}  // namespace

std::string traceRingPath(const std::string& root, const std::string& target) {
    return target.find('/') == std::string::npos ? root + "/trace/" + target : target;
}

cimp::Outcome printRingEntries(const std::string& path, const std::string& bytes,
                               const FormatTable& table, uint64_t& next, std::ostream& out) {
    RingContents ring;
    std::string error;
    if (!readTraceRing(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), ring, error)) {
        return cimp::Outcome::failed(path, error);
    }
    for (const DecodedEntry& entry : ring.entries) {
        if (entry.offset >= next) {
            out << traceLine(formatText(table, entry.formatId), entry) << "\n";
            next = entry.offset + 1;
        }
    }
    return cimp::Outcome::success();
}

cimp::Outcome printRingFile(const std::string& path, const FormatTable& table, std::ostream& out) {
    const cimp::FileContent read = readRingFile(path);
    uint64_t next = 0;
    return read.status.ok() ? printRingEntries(path, read.bytes, table, next, out) : read.status;
}

void printFormatTable(const FormatTable& table, std::ostream& out) {
    for (size_t i = 0; i < table.count; ++i) {
        char id[16];
        std::snprintf(id, sizeof id, "0x%08X", static_cast<unsigned>(table.formats[i].id));
        out << id << " " << table.formats[i].text << "\n";
    }
}

int runTracePrinter(const std::vector<std::string>& args, const TraceFormatText* formats,
                    size_t formatCount, std::ostream& out, std::ostream& err) {
    Options options;
    std::string error;
    if (!parseOptions(args, options, error)) {
        err << "cimp-trace: " << error << "\n" << kUsage;
        return 2;
    }
    if (options.help) {
        out << kUsage;
        return 0;
    }
    const FormatTable table{formats, formatCount};
    if (options.listFormats) {
        printFormatTable(table, out);
        return 0;
    }
    const std::string root = options.root.empty() ? platformRoot(currentEnv()) : options.root;
    const cimp::Outcome printed = printRingFile(traceRingPath(root, options.target), table, out);
    if (!printed.ok()) {
        err << "cimp-trace: " << printed.message() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace cimpsim
