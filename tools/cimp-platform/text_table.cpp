#include "tools/cimp-platform/text_table.h"

#include <algorithm>

namespace cimpcli {

void printTable(const TextTable& rows, std::ostream& out) {
    size_t width = 0;
    for (const auto& row : rows) {
        width = std::max(width, row.first.size());
    }
    for (const auto& row : rows) {
        out << row.first << std::string(width - row.first.size(), ' ') << " = " << row.second
            << "\n";
    }
}

}  // namespace cimpcli
