// The one seam tests have into the runtime: a hook told of every CMPI call the runtime serves,
// which may answer the call with an injected fault in place of its work. Calls the readers of
// cmpi_read.h make are not told. Without a hook, a call pays one atomic load.
#pragma once

#include <optional>
#include <string>

#include "cmpidt.h"

namespace cimbroker {

// How a call ends instead of doing its work: it fails with `rc` and `message`, or, when
// `answersEmpty`, answers its empty value (null object, 0, false, a null CMPIData) with CMPI_RC_OK.
struct InjectedFault {
    bool answersEmpty;
    CMPIrc rc;
    std::string message;
};

class CallHook {
  public:
    virtual ~CallHook() = default;
    // `service` is the CMPI function's name: "newInstance", "getKey", "returnDone", ...; the
    // broker's own setProperty and getProperty are "brokerSetProperty" and "brokerGetProperty".
    // `qualifier` names the property or key of a setProperty or addKey call, else is null.
    // Called on whichever thread makes the call.
    virtual std::optional<InjectedFault> onCall(const char* service, const char* qualifier) = 0;
};

}  // namespace cimbroker
