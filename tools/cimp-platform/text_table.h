// Name/value rows printed as "name = value" with the names padded to one width, so the values
// line up.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_TEXT_TABLE_H
#define CIMP_TOOLS_CIMP_PLATFORM_TEXT_TABLE_H

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace cimpcli {

using TextTable = std::vector<std::pair<std::string, std::string>>;

void printTable(const TextTable& rows, std::ostream& out);

}  // namespace cimpcli

#endif
