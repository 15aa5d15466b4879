// WQL text as a client writes it into an indication filter's Query or an ExecQuery: parsed into
// a query or an error that points into the text, the way the host checks every filter.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cimom/query/wql_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const cimquery::ParsedQuery parsed = cimquery::parseWql(text);
    if (!parsed.error) {
        cimquery::propertiesNamed(parsed.query);
        return 0;
    }
    // A fault is named, and its place is a character of the text or just past its end.
    const cimquery::QueryError& error = *parsed.error;
    const std::size_t end =
        (size > cimquery::kMaxQueryLength ? cimquery::kMaxQueryLength : size) + 1;
    if (error.message.empty() || error.position < 1 || error.position > end) {
        __builtin_trap();
    }
    error.describe();
    return 0;
}
