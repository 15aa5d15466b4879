// Finds the trace points of C++ sources and builds the table from format id to format text.
//
// An invocation is `CIMP_TRACE(argTypes, "format", ...)` outside comments, literals and
// preprocessor directives; whitespace, newlines and comments may separate its parts. The second
// argument must be one plain string literal (escapes allowed); its id is cimp::traceFormatId of
// the literal's bytes. Anything else is an error at the invocation's file and line.
#ifndef CIMP_PLATFORM_SIM_TOOLS_TRACE_FORMAT_SCANNER_H
#define CIMP_PLATFORM_SIM_TOOLS_TRACE_FORMAT_SCANNER_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace cimpsim {

struct TraceFormatSite {
    uint32_t id;
    std::string text;  // the literal's bytes, escapes resolved
    std::string file;
    unsigned line;
};

struct ScanError {
    std::string file;
    unsigned line = 0;
    std::string message;
};

// Appends the trace points of `source` (the contents of `file`); false at the first invocation
// that cannot be parsed.
bool scanTraceFormats(const std::string& file, const std::string& source,
                      std::vector<TraceFormatSite>& sites, ScanError& error);

// One text per id; false when two different texts share an id.
bool buildFormatTable(const std::vector<TraceFormatSite>& sites,
                      std::map<uint32_t, std::string>& table, ScanError& error);

// C++ source defining the table declared in printer/trace_format_table.h.
std::string renderFormatTableSource(const std::map<uint32_t, std::string>& table);

}  // namespace cimpsim

#endif
