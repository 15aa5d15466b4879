// Turns CMPI values into the text and type CIM-XML carries, typed as the schema declares a
// property: a provider may set a uint8 as uint16 or a boolean as a string, and the client sees
// the declared type. A value that cannot be read as the declared type keeps its own type, so
// nothing is lost or invented. Pure functions; thread-safe.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cmpidt.h"

namespace cimhost {

// A value's text, borrowed where it can be (a string value's own characters, a literal) and held
// where it must be made (numbers, dates), so that the common string value is never copied.
class ValueText {
  public:
    static ValueText borrowed(std::string_view text);
    static ValueText held(std::string text);

    std::string_view view() const { return isHeld_ ? std::string_view(held_) : borrowed_; }

  private:
    std::string_view borrowed_;
    std::string held_;
    bool isHeld_ = false;
};

// Valid as long as the value it was read from and the schema are.
struct TypedText {
    std::string_view type;  // CIM type name: "uint16", "boolean", "string", "datetime", ...
    ValueText text;         // as a CIM-XML VALUE holds it: booleans TRUE/FALSE, numbers in decimal
};

// The CIM type name of a CMPI type, array bit ignored: "uint8", "string", "reference", ...;
// "" for a type CIM-XML has no name for.
std::string_view cimTypeName(CMPIType type);

// The CMPI type named by a CIM type name in any case: CMPI_string for "string", CMPI_ref for
// "reference"; CMPI_null for a name CIM-XML does not have.
CMPIType cimTypeCode(std::string_view name);

// `text` (decimal, whole, as strtoll reads it) as a value of the integer type `type` in `out`;
// false when it is not one or lies outside the type's range. The codec's one integer parser.
bool parseInteger(const std::string& text, CMPIType type, CMPIValue* out);

// A scalar, non-reference value as `declaredType` (lower-case, as the schema holds it; "" when the
// schema declares nothing), or as its own type when it cannot be that; nullopt when the value has
// no CIM-XML form at all.
std::optional<TypedText> scalarText(const CMPIData& scalar, std::string_view declaredType);

}  // namespace cimhost
