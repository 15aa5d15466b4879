// Parses the WQL subset the host answers:
//   SELECT * | name [, name]... FROM class [WHERE condition]
// where a condition combines, with AND, OR, NOT and parentheses, comparisons of properties and
// literals (= <> != < > <= >=), `x IS [NOT] NULL` and `x ISA class`. A property may be dotted
// (SourceInstance.Name: property Name of the embedded instance SourceInstance). Keywords in any
// case; literals are quoted strings, numbers, TRUE, FALSE and NULL. LIKE is refused by name.
// The text and the nesting are bounded, so no query can make the parser run long or deep.
// Pure function; thread-safe.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "cimom/query/wql_query.h"

namespace cimquery {

constexpr std::size_t kMaxQueryLength = 16 * 1024;
constexpr std::size_t kMaxConditionDepth = 64;

struct QueryError {
    std::size_t position = 0;  // 1-based character offset of the fault
    std::string message;

    // "<message> at position <n>"
    std::string describe() const;
};

struct ParsedQuery {
    Query query;  // meaningful when error is empty
    std::optional<QueryError> error;
};

ParsedQuery parseWql(const std::string& text);

}  // namespace cimquery
