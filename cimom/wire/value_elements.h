// The parameter values of a CIM-XML request other than names: CLASSNAME, VALUE, VALUE.ARRAY,
// INSTANCE with its properties, and VALUE.NAMEDINSTANCE. Each fills what its parent gives it.
#pragma once

#include "cimom/wire/decode_state.h"

namespace cimhost {

// CLASSNAME into a std::string.
extern const ElementRole& kClassNameElement;
// VALUE into a std::string, its text as the request gave it.
extern const ElementRole& kTextElement;
// VALUE.ARRAY into a std::vector<std::string>.
extern const ElementRole& kTextArrayElement;
// INSTANCE into an InstanceValue.
extern const ElementRole& kInstanceElement;
// VALUE.NAMEDINSTANCE into the name and instance of a ParameterValue.
extern const ElementRole& kNamedInstanceElement;

}  // namespace cimhost
