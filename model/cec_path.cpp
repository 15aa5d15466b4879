#include "model/cec_path.h"

#include <cmpimacs.h>

#include <cstdint>

#include "model/chars_value.h"
#include "model/cim_namespace.h"
#include "platform/trace_point.h"

CMPIObjectPath* cimpCECObjectPathOf(const CMPIBroker* broker, const CimpMtms_t& mtms,
                                    CMPIStatus& status) {
    CMPIObjectPath* path = CMNewObjectPath(broker, kCimpNamespace, kCimpCecClassName, &status);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X", "CIMP_getCECObjectPath: newObjectPath failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return path;
    }
    if (path == nullptr) {
        CIMP_TRACE(" %X", "CIMP_getCECObjectPath: newObjectPath gave no path rc=0x%X",
                   static_cast<uint32_t>(CMPI_RC_ERR_FAILED));
        status.rc = CMPI_RC_ERR_FAILED;
        return nullptr;
    }
    CMAddKey(path, "Name", cimpCharsValue(mtms.mtmsDashed), CMPI_chars);
    CMAddKey(path, "CreationClassName", cimpCharsValue(kCimpCecClassName), CMPI_chars);
    CMAddKey(path, "UUID", cimpCharsValue(kCimpCecUuid), CMPI_chars);
    CMAddKey(path, "MTMS", cimpCharsValue(mtms.mtmsDotted), CMPI_chars);
    return path;
}
