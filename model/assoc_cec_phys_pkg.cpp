#include "model/assoc_cec_phys_pkg.h"

#include <cmpimacs.h>

#include <cstdint>

#include "model/cec.h"
#include "model/cec_pkg.h"
#include "model/cim_namespace.h"
#include "model/instance_of_path.h"
#include "model/reference_value.h"
#include "platform/trace_point.h"

namespace {

constexpr char kClassName[] = "Vesk_AssocCECPhysPkg";
constexpr char kPackageRole[] = "Antecedent";
constexpr char kSystemRole[] = "Dependent";

// Fills `path` as soon as the broker made it, then adds the two reference keys. Every failure ends
// the build at once; a failing addKey's whole status becomes the result.
void buildPath(const CMPIBroker* broker, CMPIObjectPath*& path, CMPIStatus& status) {
    path = CMNewObjectPath(broker, kCimpNamespace, kClassName, &status);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X", "CIMP_getVesk_AssocCECPhysPkgObjectPath: newObjectPath failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return;
    }
    if (path == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        CIMP_TRACE(" %X",
                   "CIMP_getVesk_AssocCECPhysPkgObjectPath: newObjectPath gave no path rc=0x%X",
                   static_cast<uint32_t>(CMPI_RC_ERR_FAILED));
        return;
    }

    const CMPIValue package = cimpReferenceValue(CIMP_getCECPkgObjectPath(broker));
    if (package.ref == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        CIMP_TRACE(" %X", "CIMP_getVesk_AssocCECPhysPkgObjectPath: no package path rc=0x%X",
                   static_cast<uint32_t>(CMPI_RC_ERR_FAILED));
        return;
    }
    status = CMAddKey(path, kPackageRole, &package, CMPI_ref);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X",
                   "CIMP_getVesk_AssocCECPhysPkgObjectPath: adding Antecedent failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return;
    }

    const CMPIValue system = cimpReferenceValue(CIMP_getCECObjectPath(broker));
    if (system.ref == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        CIMP_TRACE(" %X", "CIMP_getVesk_AssocCECPhysPkgObjectPath: no system path rc=0x%X",
                   static_cast<uint32_t>(CMPI_RC_ERR_FAILED));
        return;
    }
    status = CMAddKey(path, kSystemRole, &system, CMPI_ref);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X", "CIMP_getVesk_AssocCECPhysPkgObjectPath: adding Dependent failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
    }
}

// The instance with its two reference properties, each made from a path built afresh. Failures of
// the path builder and of newInstance are reported by the exit trace only.
CMPIInstance* buildInstance(const CMPIBroker* broker, CMPIStatus& status) {
    CMPIObjectPath* path = nullptr;
    status = CIMP_getVesk_AssocCECPhysPkgObjectPath(broker, path);
    if (status.rc != CMPI_RC_OK) {
        return nullptr;
    }
    CMPIInstance* instance = cimpNewInstanceOfPath(broker, path, status);
    if (instance == nullptr) {
        return nullptr;
    }

    const CMPIValue package = cimpReferenceValue(CIMP_getCECPkgObjectPath(broker));
    if (package.ref == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        CIMP_TRACE(" %X", "CIMP_getVesk_AssocCECPhysPkgInstance: no package path rc=0x%X",
                   static_cast<uint32_t>(CMPI_RC_ERR_FAILED));
        return nullptr;
    }
    status = CMSetProperty(instance, kPackageRole, &package, CMPI_ref);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X", "CIMP_getVesk_AssocCECPhysPkgInstance: setting Antecedent failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return nullptr;
    }

    const CMPIValue system = cimpReferenceValue(CIMP_getCECObjectPath(broker));
    if (system.ref == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        CIMP_TRACE(" %X", "CIMP_getVesk_AssocCECPhysPkgInstance: no system path rc=0x%X",
                   static_cast<uint32_t>(CMPI_RC_ERR_FAILED));
        return nullptr;
    }
    status = CMSetProperty(instance, kSystemRole, &system, CMPI_ref);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X", "CIMP_getVesk_AssocCECPhysPkgInstance: setting Dependent failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return nullptr;
    }
    return instance;
}

}  // namespace

CMPIStatus CIMP_getVesk_AssocCECPhysPkgObjectPath(const CMPIBroker* broker, CMPIObjectPath*& path) {
    CIMP_TRACE(" ", "CIMP_getVesk_AssocCECPhysPkgObjectPath: entry");
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    buildPath(broker, path, status);
    CIMP_TRACE(" %X", "CIMP_getVesk_AssocCECPhysPkgObjectPath: exit rc=0x%X",
               static_cast<uint32_t>(status.rc));
    return status;
}

CMPIStatus CIMP_getVesk_AssocCECPhysPkgInstance(const CMPIBroker* broker, CMPIInstance*& instance) {
    CIMP_TRACE(" ", "CIMP_getVesk_AssocCECPhysPkgInstance: entry");
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    // Null on every failure: only a complete instance is handed out.
    instance = buildInstance(broker, status);
    CIMP_TRACE(" %X", "CIMP_getVesk_AssocCECPhysPkgInstance: exit rc=0x%X",
               static_cast<uint32_t>(status.rc));
    return status;
}
