#include "model/associated_tovpassthru.h"

#include <cmpimacs.h>

#include <cstdint>

#include "model/cec.h"
#include "model/cim_namespace.h"
#include "model/class_names.h"
#include "model/instance_of_path.h"
#include "model/reference_value.h"
#include "model/tovpassthru.h"
#include "platform/trace_point.h"

namespace {

// Fills `path` as soon as the broker made it, then adds the two reference keys. Every failure ends
// the build at once; a failing addKey's whole status becomes the result.
void buildPath(const CMPIBroker* broker, CMPIObjectPath*& path, CMPIStatus& status) {
    path = CMNewObjectPath(broker, kCimpNamespace, g_CIMP_AssociatedServiceClassName, &status);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X", "CIMP_getAssociatedTOvPassthruObjectPath: newObjectPath failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return;
    }
    if (path == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        CIMP_TRACE(" %X",
                   "CIMP_getAssociatedTOvPassthruObjectPath: newObjectPath gave no path rc=0x%X",
                   static_cast<uint32_t>(CMPI_RC_ERR_FAILED));
        return;
    }

    const CMPIValue service = cimpReferenceValue(CIMP_getTOvPassthruObjectPath(broker));
    if (service.ref == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        CIMP_TRACE(" %X", "CIMP_getAssociatedTOvPassthruObjectPath: no service path rc=0x%X",
                   static_cast<uint32_t>(CMPI_RC_ERR_FAILED));
        return;
    }
    status = CMAddKey(path, g_CIMP_RoleServiceProvided, &service, CMPI_ref);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X",
                   "CIMP_getAssociatedTOvPassthruObjectPath: adding ServiceProvided failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return;
    }

    const CMPIValue system = cimpReferenceValue(CIMP_getCECObjectPath(broker));
    if (system.ref == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        CIMP_TRACE(" %X", "CIMP_getAssociatedTOvPassthruObjectPath: no system path rc=0x%X",
                   static_cast<uint32_t>(CMPI_RC_ERR_FAILED));
        return;
    }
    status = CMAddKey(path, g_CIMP_RoleUserOfService, &system, CMPI_ref);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X",
                   "CIMP_getAssociatedTOvPassthruObjectPath: adding UserOfService failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
    }
}

// The instance with its two reference properties, each made from a path built afresh. Failures of
// the path builder and of newInstance are traced by the path builder and the exit trace only.
CMPIInstance* buildInstance(const CMPIBroker* broker, CMPIStatus& status) {
    CMPIObjectPath* path = nullptr;
    status = CIMP_getAssociatedTOvPassthruObjectPath(broker, path);
    if (status.rc != CMPI_RC_OK) {
        return nullptr;
    }
    CMPIInstance* instance = cimpNewInstanceOfPath(broker, path, status);
    if (instance == nullptr) {
        return nullptr;
    }

    const CMPIValue service = cimpReferenceValue(CIMP_getTOvPassthruObjectPath(broker));
    if (service.ref == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        CIMP_TRACE(" %X", "CIMP_getAssociatedTOvPassthruInstance: no service path rc=0x%X",
                   static_cast<uint32_t>(CMPI_RC_ERR_FAILED));
        return nullptr;
    }
    status = CMSetProperty(instance, g_CIMP_RoleServiceProvided, &service, CMPI_ref);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X",
                   "CIMP_getAssociatedTOvPassthruInstance: setting ServiceProvided failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return nullptr;
    }

    const CMPIValue system = cimpReferenceValue(CIMP_getCECObjectPath(broker));
    if (system.ref == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        CIMP_TRACE(" %X", "CIMP_getAssociatedTOvPassthruInstance: no system path rc=0x%X",
                   static_cast<uint32_t>(CMPI_RC_ERR_FAILED));
        return nullptr;
    }
    status = CMSetProperty(instance, g_CIMP_RoleUserOfService, &system, CMPI_ref);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X",
                   "CIMP_getAssociatedTOvPassthruInstance: setting UserOfService failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return nullptr;
    }
    return instance;
}

}  // namespace

CMPIStatus CIMP_getAssociatedTOvPassthruObjectPath(const CMPIBroker* broker,
                                                   CMPIObjectPath*& path) {
    CIMP_TRACE(" ", "CIMP_getAssociatedTOvPassthruObjectPath: entry");
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    buildPath(broker, path, status);
    CIMP_TRACE(" %X", "CIMP_getAssociatedTOvPassthruObjectPath: exit rc=0x%X",
               static_cast<uint32_t>(status.rc));
    return status;
}

CMPIStatus CIMP_getAssociatedTOvPassthruInstance(const CMPIBroker* broker,
                                                 CMPIInstance*& instance) {
    CIMP_TRACE(" ", "CIMP_getAssociatedTOvPassthruInstance: entry");
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    // Null on every failure: only a complete instance is handed out.
    instance = buildInstance(broker, status);
    CIMP_TRACE(" %X", "CIMP_getAssociatedTOvPassthruInstance: exit rc=0x%X",
               static_cast<uint32_t>(status.rc));
    return status;
}
