// Evaluates a parsed WQL query's condition against one instance, seen through ValueSource.
// SQL's three-valued logic: a comparison with a NULL operand, or of values of different kinds,
// is unknown; NOT unknown is unknown; an instance matches only when the condition is true.
// Strings compare by character code, numbers by value, FALSE before TRUE.
#pragma once

#include <string>

#include "cimom/query/query_value.h"
#include "cimom/query/wql_query.h"

namespace cimquery {

// The values of one instance, by property name (any case); a dotted name reads a property of an
// embedded instance ("SourceInstance.Name").
class ValueSource {
  public:
    virtual ~ValueSource() = default;
    // NULL for a property the instance lacks or leaves null, and for an array.
    virtual QueryValue value(const std::string& property) const = 0;
    // Whether the object that `property` refers to or embeds is of `className` or a subclass.
    virtual bool isA(const std::string& property, const std::string& className) const = 0;
};

// True when the query has no WHERE or its condition is true for the instance.
bool matches(const Query& query, const ValueSource& instance);

}  // namespace cimquery
