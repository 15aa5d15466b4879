// Decodes a CIM-XML request message (DSP0201) into an Operation as the body is parsed, without
// building a tree of it first. Three outcomes: a protocol error, answered with HTTP 400 and the
// CIMError header it names (request-not-well-formed when the body is not XML within the
// reader's bounds); a CIM error in the parameters (status not OK; method and message id are set
// so the error can be answered in a CIM-XML response); or a complete Operation. IPARAMVALUEs
// may come in any order; an empty one is NULL, which leaves a flag at its default. Thread-safe.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cimom/cim/operation.h"
#include "cimom/cim/status.h"

namespace cimhost {

struct ProtocolError {
    std::string cimError;  // value of the CIMError header: "request-not-valid", ...
    std::string message;   // for the log
};

struct DecodedRequest {
    std::optional<ProtocolError> protocolError;
    Operation operation;
    Status status;
};

DecodedRequest decodeRequest(std::string_view body);

}  // namespace cimhost
