// The parameter values of a CIM-XML request other than names: CLASSNAME, VALUE, VALUE.ARRAY,
// INSTANCE with its properties, and VALUE.NAMEDINSTANCE. Each fills what its parent gives it.
#pragma once

#include "cimom/wire/decode_state.h"

namespace cimhost {

// CLASSNAME into a std::string.
const ElementRole& classNameElement();
// VALUE into a std::string, its text as the request gave it.
const ElementRole& textElement();
// VALUE.ARRAY into a std::vector<std::string>.
const ElementRole& textArrayElement();
// INSTANCE into an InstanceValue.
const ElementRole& instanceElement();
// VALUE.NAMEDINSTANCE into the name and instance of a ParameterValue.
const ElementRole& namedInstanceElement();

}  // namespace cimhost
