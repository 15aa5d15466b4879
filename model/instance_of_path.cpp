#include "model/instance_of_path.h"

#include <cmpimacs.h>

CMPIInstance* cimpNewInstanceOfPath(const CMPIBroker* broker, const CMPIObjectPath* path,
                                    CMPIStatus& status) {
    if (path == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        return nullptr;
    }
    CMPIInstance* instance = CMNewInstance(broker, path, &status);
    if (status.rc != CMPI_RC_OK) {
        return nullptr;
    }
    if (instance == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
    }
    return instance;
}
