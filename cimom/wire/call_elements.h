// The method calls of a CIM-XML request: IMETHODCALL with its IPARAMVALUEs, read into the
// Operation through the parameter table, and METHODCALL, recognised so that it can be answered
// in kind although no extrinsic method is offered.
#pragma once

#include "cimom/wire/decode_state.h"

namespace cimhost {

extern const ElementRole& kIntrinsicCallElement;
extern const ElementRole& kExtrinsicCallElement;

}  // namespace cimhost
