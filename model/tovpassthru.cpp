#include "model/tovpassthru.h"

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

constexpr char kClassName[] = "Vesk_TOvPassthru";
// The service is hosted by the service processor.
constexpr char kSystemClassName[] = "Vesk_FSP";

// The broker is not asked for a status here: only a null path tells a failure. Key statuses are
// not examined either; a refused key leaves the path as far as it was built.
CMPIObjectPath* makePath(const CMPIBroker* broker, const CimpMtms_t& mtms, CMPIrc& rc) {
    CMPIObjectPath* path = CMNewObjectPath(broker, kCimpNamespace, kClassName, nullptr);
    if (path == nullptr) {
        CIMP_TRACE(" %X", "CIMP_getTOvPassthruObjectPath: newObjectPath gave no path rc=0x%X",
                   static_cast<uint32_t>(CMPI_RC_ERR_FAILED));
        rc = CMPI_RC_ERR_FAILED;
        return nullptr;
    }
    CMAddKey(path, "CreationClassName", cimpCharsValue(kClassName), CMPI_chars);
    CMAddKey(path, "Name", cimpCharsValue(mtms.mtmsCompact), CMPI_chars);
    CMAddKey(path, "SystemCreationClassName", cimpCharsValue(kSystemClassName), CMPI_chars);
    CMAddKey(path, "SystemName", cimpCharsValue(mtms.mtmsCompact), CMPI_chars);
    return path;
}

// Unlike the managed system's instance, every setProperty is checked: the first refusal ends the
// build with the broker's status and the instance is not handed out.
CMPIInstance* makeInstance(const CMPIBroker* broker, const CimpMtms_t& mtms, CMPIStatus& status) {
    CMPIObjectPath* path = CIMP_getTOvPassthruObjectPath(broker);
    CMPIInstance* instance = cimpNewInstanceOfPath(broker, path, status);
    if (instance == nullptr) {
        return nullptr;
    }

    status = CMSetProperty(instance, "CreationClassName", cimpCharsValue(kClassName), CMPI_chars);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X", "CIMP_getTOvPassthruInstance: setting CreationClassName failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return nullptr;
    }
    status = CMSetProperty(instance, "Name", cimpCharsValue(mtms.mtmsCompact), CMPI_chars);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X", "CIMP_getTOvPassthruInstance: setting Name failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return nullptr;
    }
    status = CMSetProperty(instance, "SystemCreationClassName", cimpCharsValue(kSystemClassName), CMPI_chars);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X",
                   "CIMP_getTOvPassthruInstance: setting SystemCreationClassName failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return nullptr;
    }
    status = CMSetProperty(instance, "SystemName", cimpCharsValue(mtms.mtmsCompact), CMPI_chars);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X", "CIMP_getTOvPassthruInstance: setting SystemName failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return nullptr;
    }
    return instance;
}

}  // namespace

CMPIObjectPath* CIMP_getTOvPassthruObjectPath(const CMPIBroker* broker) {
    CIMP_TRACE(" ", "CIMP_getTOvPassthruObjectPath: entry");
    CMPIrc rc = CMPI_RC_OK;
    CMPIObjectPath* path = nullptr;

    CimpMtms_t mtms = {};
    ErrlEntry* entry = cimpGetMtms(mtms);
    if (entry != nullptr) {
        CIMP_TRACE(" %X", "CIMP_getTOvPassthruObjectPath: identity read failed rc=0x%X",
                   entry->getRC());
    } else {
        path = makePath(broker, mtms, rc);
    }

    if (entry != nullptr) {
        cimpCommitAndDelete(entry);
        rc = CMPI_RC_ERR_FAILED;
    }
    CIMP_TRACE(" %X", "CIMP_getTOvPassthruObjectPath: exit rc=0x%X", static_cast<uint32_t>(rc));
    return path;
}

void CIMP_getTOvPassthruInstance(const CMPIBroker* broker, CMPIInstance*& instance,
                                 CMPIStatus* status) {
    CIMP_TRACE(" ", "CIMP_getTOvPassthruInstance: entry");
    instance = nullptr;
    CMPIStatus local = {CMPI_RC_OK, nullptr};

    CimpMtms_t mtms = {};
    ErrlEntry* entry = cimpGetMtms(mtms);
    if (entry != nullptr) {
        CIMP_TRACE(" %X", "CIMP_getTOvPassthruInstance: identity read failed rc=0x%X",
                   entry->getRC());
    } else {
        instance = makeInstance(broker, mtms, local);
    }

    if (entry != nullptr) {
        local.rc = CMPI_RC_ERR_FAILED;
        cimpCommitAndDelete(entry);
    }
    *status = local;
    CIMP_TRACE(" %X", "CIMP_getTOvPassthruInstance: exit rc=0x%X", static_cast<uint32_t>(local.rc));
}
