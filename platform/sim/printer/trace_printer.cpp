#include "platform/sim/printer/trace_printer.h"

#include <cstdio>
#include <fstream>
#include <map>

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
bool readRingFile(const std::string& path, std::string& bytes, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open";
        return false;
    }
    constexpr size_t kLimit = ring::kMaxBufferSize;
    bytes.resize(kLimit + 1);
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) {
        error = "cannot read";
        return false;
    }
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (bytes.size() > kLimit) {
        error = "larger than any trace ring";
        return false;
    }
    return true;
}

}  // namespace

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
    std::map<uint32_t, const char*> table;
    for (size_t i = 0; i < formatCount; ++i) {
        table[formats[i].id] = formats[i].text;
    }
    if (options.listFormats) {
        for (const auto& format : table) {
            char id[16];
            std::snprintf(id, sizeof id, "0x%08X", static_cast<unsigned>(format.first));
            out << id << " " << format.second << "\n";
        }
        return 0;
    }
    std::string path = options.target;
    if (path.find('/') == std::string::npos) {
        std::string root = options.root.empty() ? platformRoot(currentEnv()) : options.root;
        path = root + "/trace/" + options.target;
    }
    std::string bytes;
    RingContents ring;
    if (!readRingFile(path, bytes, error) ||
        !readTraceRing(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), ring, error)) {
        err << "cimp-trace: " << path << ": " << error << "\n";
        return 1;
    }
    for (const DecodedEntry& entry : ring.entries) {
        auto format = table.find(entry.formatId);
        out << traceLine(format != table.end() ? format->second : nullptr, entry) << "\n";
    }
    return 0;
}

}  // namespace cimpsim
