// The envelope of a CIM-XML request: the document, CIM, MESSAGE and SIMPLEREQ, with their
// version checks. The document's frame ends up holding the request's fault, if it has one.
#pragma once

#include "cimom/wire/decode_state.h"

namespace cimhost {

extern const ElementRole& kDocumentElement;

}  // namespace cimhost
