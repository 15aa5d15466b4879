// Reads a whole text file into memory, refusing anything that is not a regular file or is larger
// than a caller-given limit, so a hostile or mistaken path never makes a reader allocate without
// bound. Throws MofError naming the file (line 0). Thread-safe.
#pragma once

#include <cstddef>
#include <string>

namespace cimmof {

std::string readBoundedFile(const std::string& path, std::size_t maxBytes);

}  // namespace cimmof
