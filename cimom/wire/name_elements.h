// The names in a CIM-XML request: namespace paths, instance names with their key bindings, and
// references to instances with or without host and namespace. Each fills the ObjectName (or the
// namespace string) its parent gives it.
#pragma once

#include "cimom/wire/decode_state.h"

namespace cimhost {

// LOCALNAMESPACEPATH into a std::string, its NAMESPACEs joined with '/'.
extern const ElementRole& kLocalNamespacePathElement;
// INSTANCENAME into an ObjectName.
extern const ElementRole& kInstanceNameElement;
// VALUE.REFERENCE (or the value of a PROPERTY.REFERENCE) naming an instance, into an ObjectName.
extern const ElementRole& kValueReferenceElement;

}  // namespace cimhost
