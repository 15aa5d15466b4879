#include "cimom/query/query_value.h"

#include <utility>

namespace cimquery {

QueryValue QueryValue::ofBoolean(bool value) {
    QueryValue v;
    v.kind = Kind::Boolean;
    v.boolean = value;
    return v;
}

QueryValue QueryValue::ofNumber(long double value) {
    QueryValue v;
    v.kind = Kind::Number;
    v.number = value;
    return v;
}

QueryValue QueryValue::ofString(std::string value) {
    QueryValue v;
    v.kind = Kind::String;
    v.text = std::move(value);
    return v;
}

}  // namespace cimquery
