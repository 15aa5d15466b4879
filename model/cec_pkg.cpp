#include "model/cec_pkg.h"

#include <cmpimacs.h>

#include <cstdint>

#include "model/chars_value.h"
#include "model/cim_namespace.h"
#include "model/errl_commit.h"
#include "model/instance_of_path.h"
#include "platform/errl_entry.h"
#include "platform/trace_point.h"
#include "sysdata/mtms.h"

namespace {

constexpr char kClassName[] = "Vesk_CEC_Pkg";
constexpr char kManufacturer[] = "ORV";

// On a reported failure returns what the broker returned; callers judge only by null. Key
// statuses are not examined.
CMPIObjectPath* makePath(const CMPIBroker* broker, const CimpMtms_t& mtms, CMPIStatus& status) {
    CMPIObjectPath* path = CMNewObjectPath(broker, kCimpNamespace, kClassName, &status);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X", "CIMP_getCECPkgObjectPath: newObjectPath failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return path;
    }
    if (path == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        CIMP_TRACE(" %X", "CIMP_getCECPkgObjectPath: newObjectPath gave no path rc=0x%X",
                   static_cast<uint32_t>(CMPI_RC_ERR_FAILED));
        return nullptr;
    }
    CMAddKey(path, "Tag", cimpCharsValue(mtms.mtmsDashed), CMPI_chars);
    CMAddKey(path, "CreationClassName", cimpCharsValue(kClassName), CMPI_chars);
    return path;
}

// Property values come from the caller's own identity record, not from the path's read. Property
// statuses are not examined.
CMPIInstance* makeInstance(const CMPIBroker* broker, const CimpMtms_t& mtms, CMPIStatus& status) {
    CMPIObjectPath* path = CIMP_getCECPkgObjectPath(broker);
    CMPIInstance* instance = cimpNewInstanceOfPath(broker, path, status);
    if (instance == nullptr) {
        return nullptr;
    }
    CMSetProperty(instance, "Tag", cimpCharsValue(mtms.mtmsDashed), CMPI_chars);
    CMSetProperty(instance, "CreationClassName", cimpCharsValue(kClassName), CMPI_chars);
    CMSetProperty(instance, "VendorEquipmentType", cimpCharsValue(mtms.type), CMPI_chars);
    CMSetProperty(instance, "Model", cimpCharsValue(mtms.model), CMPI_chars);
    CMSetProperty(instance, "SerialNumber", cimpCharsValue(mtms.serial), CMPI_chars);
    CMSetProperty(instance, "Manufacturer", cimpCharsValue(kManufacturer), CMPI_chars);
    return instance;
}

}  // namespace

CMPIObjectPath* CIMP_getCECPkgObjectPath(const CMPIBroker* broker) {
    CIMP_TRACE(" ", "CIMP_getCECPkgObjectPath: entry");
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    CMPIObjectPath* path = nullptr;

    CimpMtms_t mtms = {};
    ErrlEntry* entry = cimpGetMtms(mtms);
    if (entry != nullptr) {
        // Handled here, where it is read: callers above see only a null path.
        CIMP_TRACE(" %X", "CIMP_getCECPkgObjectPath: identity read failed rc=0x%X", entry->getRC());
        cimpCommitAndDelete(entry);
        status.rc = CMPI_RC_ERR_FAILED;
    } else {
        path = makePath(broker, mtms, status);
    }

    CIMP_TRACE(" %X", "CIMP_getCECPkgObjectPath: exit rc=0x%X", static_cast<uint32_t>(status.rc));
    return path;
}

void CIMP_getCECPkgInstance(const CMPIBroker* broker, CMPIInstance*& instance, CMPIStatus* status) {
    CIMP_TRACE(" ", "CIMP_getCECPkgInstance: entry");
    instance = nullptr;
    CMPIStatus local = {CMPI_RC_OK, nullptr};

    CimpMtms_t mtms = {};
    ErrlEntry* entry = cimpGetMtms(mtms);
    if (entry != nullptr) {
        CIMP_TRACE(" %X", "CIMP_getCECPkgInstance: identity read failed rc=0x%X", entry->getRC());
        cimpCommitAndDelete(entry);
        local.rc = CMPI_RC_ERR_FAILED;
    } else {
        instance = makeInstance(broker, mtms, local);
    }

    CIMP_TRACE(" %X", "CIMP_getCECPkgInstance: exit rc=0x%X", static_cast<uint32_t>(local.rc));
    *status = local;
}
