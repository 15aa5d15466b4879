#include "tools/cimp-platform/text_table.h"

#include <algorithm>

namespace cimpcli {

void TextTable::add(std::string name, std::string value) {
    rows_.emplace_back(std::move(name), std::move(value));
}

void TextTable::print(std::ostream& out) const {
    size_t width = 0;
    for (const auto& row : rows_) {
        width = std::max(width, row.first.size());
    }
    for (const auto& row : rows_) {
        out << row.first << std::string(width - row.first.size(), ' ') << " = " << row.second
            << "\n";
    }
}

}  // namespace cimpcli
