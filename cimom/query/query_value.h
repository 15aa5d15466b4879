// QueryValue: one operand of a WQL condition, as a literal in the query or a property value of an
// instance. CIM numbers of every width compare as numbers (long double holds any 64-bit integer
// exactly on the platforms we build for); strings, char16 and date-times compare as text. Plain
// data: copy freely.
#pragma once

#include <string>
#include <utility>

namespace cimquery {

struct QueryValue {
    enum class Kind { Null, Boolean, Number, String };
    Kind kind = Kind::Null;
    bool boolean = false;
    long double number = 0;
    std::string text;

    static QueryValue null() { return QueryValue(); }
    static QueryValue ofBoolean(bool value) { return {Kind::Boolean, value, 0, {}}; }
    static QueryValue ofNumber(long double value) { return {Kind::Number, false, value, {}}; }
    static QueryValue ofString(std::string value) {
        return {Kind::String, false, 0, std::move(value)};
    }
};

}  // namespace cimquery
