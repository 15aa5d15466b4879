// Turns CMPI values into the text and type CIM-XML carries, typed as the schema declares a
// property: a provider may set a uint8 as uint16 or a boolean as a string, and the client sees
// the declared type. A value that cannot be read as the declared type keeps its own type, so
// nothing is lost or invented. Pure functions; thread-safe.
#pragma once

#include <optional>
#include <string>

#include "cmpidt.h"

namespace cimhost {

struct TypedText {
    std::string type;  // CIM type name: "uint16", "boolean", "string", "datetime", ...
    std::string text;  // as a CIM-XML VALUE holds it: booleans TRUE/FALSE, numbers in decimal
};

// The CIM type name of a CMPI type, array bit ignored: "uint8", "string", "reference", ...;
// "" for a type CIM-XML has no name for.
std::string cimTypeName(CMPIType type);

// A scalar, non-reference value as `declaredType` (lower-case, as the schema holds it; "" when the
// schema declares nothing), or as its own type when it cannot be that; nullopt when the value has
// no CIM-XML form at all.
std::optional<TypedText> scalarText(const CMPIData& scalar, const std::string& declaredType);

}  // namespace cimhost
