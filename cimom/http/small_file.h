// Reads a configuration file the daemon keeps in memory (password file, TLS certificate and key,
// its configuration file) whole, refusing one larger than `maxSize` rather than reading without
// bound.
#pragma once

#include <cstddef>
#include <string>

#include "base/outcome.h"

namespace cimhost {

cimp::Outcome readSmallFile(const std::string& path, std::size_t maxSize, std::string* text);

}  // namespace cimhost
