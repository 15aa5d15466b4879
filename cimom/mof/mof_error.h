// MofError: the one exception the MOF and registration readers throw. It carries the place of the
// fault (file, 1-based line and column; 0 when the fault concerns the file as a whole) and a
// message; what() reads "file:line:column: message" so a caller can print it as it is.
#pragma once

#include <stdexcept>
#include <string>

namespace cimmof {

struct SourceLocation {
    std::string file;
    int line = 0;
    int column = 0;
};

struct MofError : std::runtime_error {
    MofError(const SourceLocation& where, const std::string& message);

    std::string file;
    int line;
    int column;
    std::string detail;  // the message without the location
};

}  // namespace cimmof
