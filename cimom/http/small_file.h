// Reads a configuration file the daemon keeps in memory (password file, TLS certificate and key)
// whole, refusing one larger than `maxSize` rather than reading without bound.
#pragma once

#include <cstddef>
#include <string>

#include "cimom/cim/status.h"

namespace cimhost {

Status readSmallFile(const std::string& path, std::size_t maxSize, std::string& text);

}  // namespace cimhost
