// A parsed WQL query: the selected properties, the class, and the WHERE condition as a tree.
// Positions are 1-based character offsets into the query text, kept so that a later check (an
// unknown property, say) can point at the fault as the parser does. Plain data: copy freely.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cimom/query/query_value.h"

namespace cimquery {

// A property of the instance, or a literal.
struct Operand {
    bool isProperty = false;
    std::string property;
    QueryValue literal;
    std::size_t position = 0;
};

enum class Comparison { Equal, NotEqual, Less, Greater, LessOrEqual, GreaterOrEqual };

struct Condition {
    enum class Kind { And, Or, Not, Compare, IsNull, IsNotNull, IsA };
    Kind kind = Kind::Compare;
    std::vector<Condition> children;  // And, Or: two; Not: one
    Comparison comparison = Comparison::Equal;
    Operand left;           // Compare, IsNull, IsNotNull, IsA
    Operand right;          // Compare
    std::string className;  // IsA
};

struct PropertyName {
    std::string name;
    std::size_t position = 0;
};

struct Query {
    std::vector<PropertyName> selected;  // empty: SELECT *
    std::string className;
    std::size_t classPosition = 0;
    std::optional<Condition> where;
};

// Every property the query names, in the select list and the condition, in text order of
// first appearance per clause; for checking them against the class.
std::vector<PropertyName> propertiesNamed(const Query& query);

}  // namespace cimquery
