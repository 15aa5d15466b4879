// MofError: the one exception the MOF and registration readers throw inside this module. It
// carries the place of the fault (file, 1-based line and column; 0 when the fault concerns the
// file as a whole) and a message. It never leaves the module: each public entry catches it
// (readGuarded) and answers with an Outcome whose what() is the place ("file:line:column") and
// whose why() is the message, so that message() reads "file:line:column: message".
#pragma once

#include <stdexcept>
#include <string>

#include "base/outcome.h"

namespace cimmof {

struct SourceLocation {
    std::string file;
    int line = 0;
    int column = 0;
};

struct MofError : std::runtime_error {  // what(): the place
    MofError(const SourceLocation& where, const std::string& message);

    std::string detail;  // the message without the location
};

// Runs `read`, answering the MofError it may throw as a failed Outcome.
template <class Read>
cimp::Outcome readGuarded(Read&& read) {
    try {
        read();
    } catch (const MofError& e) {
        return cimp::Outcome::failed(e.what(), e.detail);
    }
    return cimp::Outcome::success();
}

}  // namespace cimmof
