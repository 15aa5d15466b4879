// cimp-trace-formats --output FILE DIR...
//
// Scans every *.cpp and *.h below the DIRs for trace points and writes the format table source
// to FILE, leaving FILE untouched when its content would not change (so nothing rebuilds).
// Missing DIRs are skipped. Errors name file:line and fail with status 1.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/tools/trace_format_scanner.h"

namespace fs = std::filesystem;

namespace {

bool isSource(const fs::path& path) {
    return path.extension() == ".cpp" || path.extension() == ".h";
}

std::vector<fs::path> sourcesBelow(const std::vector<std::string>& dirs) {
    std::vector<fs::path> files;
    for (const std::string& dir : dirs) {
        std::error_code error;
        if (!fs::is_directory(dir, error)) {
            continue;
        }
        for (fs::recursive_directory_iterator it(dir, error), end; !error && it != end;
             it.increment(error)) {
            if (it->is_regular_file(error) && isSource(it->path())) {
                files.push_back(it->path());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool readWhole(const fs::path& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    out = content.str();
    return static_cast<bool>(in) || in.eof();
}

int fail(const cimpsim::ScanError& error) {
    std::cerr << error.file << ":" << error.line << ": error: " << error.message << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 2 || args[0] != "--output") {
        std::cerr << "usage: cimp-trace-formats --output FILE DIR...\n";
        return 2;
    }
    const std::string output = args[1];
    std::vector<std::string> dirs(args.begin() + 2, args.end());

    std::vector<cimpsim::TraceFormatSite> sites;
    cimpsim::ScanError error;
    for (const fs::path& file : sourcesBelow(dirs)) {
        std::string source;
        if (!readWhole(file, source)) {
            return fail({file.string(), 0, "cannot read"});
        }
        if (!cimpsim::scanTraceFormats(file.string(), source, sites, error)) {
            return fail(error);
        }
    }
    std::map<uint32_t, std::string> table;
    if (!cimpsim::buildFormatTable(sites, table, error)) {
        return fail(error);
    }
    std::string generated = cimpsim::renderFormatTableSource(table);
    std::string existing;
    if (fs::exists(output) && readWhole(output, existing) && existing == generated) {
        return 0;
    }
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out << generated;
    out.close();
    if (!out) {
        return fail({output, 0, "cannot write"});
    }
    return 0;
}
