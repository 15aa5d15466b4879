// Reads a whole file into memory, refusing one larger than a caller-given limit, so that a hostile
// or mistaken path never makes a reader allocate without bound: the daemon's configuration,
// password and TLS files, the MOF and registration files, the tools' machine files and trace
// rings. Thread-safe.
#pragma once

#include <cstddef>
#include <string>

#include "base/outcome.h"

namespace cimp {

struct FileContent {
    Outcome status;        // failed: what is the path, why the reason
    bool missing = false;  // the file does not exist (status is then a failure too)
    std::string bytes;     // the whole file when status is ok
};

// The file at `path` when it is a regular file of at most `maxBytes` bytes.
FileContent readBoundedFile(const std::string& path, std::size_t maxBytes);

}  // namespace cimp
