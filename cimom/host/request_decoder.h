// Decodes a parsed CIM-XML request message (DSP0201) into an Operation. Three outcomes: a
// protocol error, answered with HTTP 400 and the CIMError header it names; a CIM error in the
// parameters (status not OK; method and message id are set so the error can be answered in a
// CIM-XML response); or a complete Operation. IPARAMVALUEs may come in any order; an empty one
// is NULL, which leaves a flag at its default. Pure function; thread-safe.
#pragma once

#include <optional>
#include <string>

#include "cimom/host/operation.h"
#include "cimom/host/status.h"
#include "cimom/host/xml_tree.h"

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

DecodedRequest decodeRequest(const XmlElement& root);

}  // namespace cimhost
