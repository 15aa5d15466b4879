#include "provider/mi_stubs.h"

namespace {

const CMPIStatus s_okStatus = {CMPI_RC_OK, nullptr};
const CMPIStatus s_notSupportedStatus = {CMPI_RC_ERR_NOT_SUPPORTED, nullptr};

}  // namespace

CMPIStatus cimpInstanceCleanup(CMPIInstanceMI*, const CMPIContext*, CMPIBoolean) {
    return s_okStatus;
}

CMPIStatus cimpAssociationCleanup(CMPIAssociationMI*, const CMPIContext*, CMPIBoolean) {
    return s_okStatus;
}

CMPIStatus cimpCreateInstanceNotSupported(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                                          const CMPIObjectPath*, const CMPIInstance*) {
    return s_notSupportedStatus;
}

CMPIStatus cimpSetInstanceNotSupported(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                                       const CMPIObjectPath*, const CMPIInstance*, const char**) {
    return s_notSupportedStatus;
}

CMPIStatus cimpDeleteInstanceNotSupported(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                                          const CMPIObjectPath*) {
    return s_notSupportedStatus;
}

CMPIStatus cimpExecQueryNotSupported(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                                     const CMPIObjectPath*, const char*, const char*) {
    return s_notSupportedStatus;
}
