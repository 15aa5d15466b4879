#include "provider/instance_operations.h"

#include <cmpift.h>
#include <strings.h>

#include <cstdint>

#include "model/associated_tovpassthru.h"
#include "model/class_names.h"
#include "model/errl_commit.h"
#include "platform/errl_entry.h"
#include "platform/trace_point.h"
#include "provider/broker_slot.h"
#include "provider/class_name.h"
#include "provider/key_match.h"
#include "sysdata/enablement_gate.h"

namespace {

// Whether the request names the association class; `status` takes over the class-name read's
// status, and becomes CMPI_RC_ERR_INVALID_CLASS for any other class.
bool requestNamesServedClass(const CMPIObjectPath* path, CMPIStatus& status) {
    char* className = nullptr;
    status = cimpGetClassName(path, className);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X", "instance operation: class name unreadable rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return false;
    }
    if (strcasecmp(className, g_CIMP_AssociatedServiceClassName) != 0) {
        CIMP_TRACE(" %s", "instance operation: class %s not served", className);
        status.rc = CMPI_RC_ERR_INVALID_CLASS;
        return false;
    }
    return true;
}

// Builds the association's instance for a request of the served class; `instance` is set only
// when `status` ends OK.
void buildRequestedInstance(const CMPIObjectPath* path, CMPIInstance*& instance,
                            CMPIStatus& status) {
    if (!requestNamesServedClass(path, status)) {
        return;
    }
    status = CIMP_getAssociatedTOvPassthruInstance(cimpStoredBroker(), instance);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X", "instance operation: association instance not built rc=0x%X",
                   static_cast<uint32_t>(status.rc));
    }
}

}  // namespace

CMPIStatus CIMP_Vesk_AssociatedTOvPassthruEnumInstanceNames(CMPIInstanceMI*, const CMPIContext*,
                                                            const CMPIResult* result,
                                                            const CMPIObjectPath* path) {
    CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruEnumInstanceNames: entry");
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    bool enabled = false;

    ErrlEntry* gateEntry = cimpQueryCimEnabled(enabled);
    if (gateEntry != nullptr) {
        CIMP_TRACE(" %X", "CIMP_Vesk_AssociatedTOvPassthruEnumInstanceNames: gate failed rc=0x%X",
                   gateEntry->getRC());
    } else if (!enabled) {
        CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruEnumInstanceNames: CIM not enabled");
    } else if (requestNamesServedClass(path, status)) {
        CMPIObjectPath* objectPath = nullptr;
        status = CIMP_getAssociatedTOvPassthruObjectPath(cimpStoredBroker(), objectPath);
        if (status.rc != CMPI_RC_OK) {
            CIMP_TRACE(" %X", "instance operation: association path not built rc=0x%X",
                       static_cast<uint32_t>(status.rc));
        } else {
            result->ft->returnObjectPath(result, objectPath);
            result->ft->returnDone(result);
        }
    }

    if (gateEntry != nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        cimpCommitAndDelete(gateEntry);
    }
    CIMP_TRACE(" %X", "CIMP_Vesk_AssociatedTOvPassthruEnumInstanceNames: exit rc=0x%X",
               static_cast<uint32_t>(status.rc));
    return status;
}

CMPIStatus CIMP_Vesk_AssociatedTOvPassthruEnumInstances(CMPIInstanceMI*, const CMPIContext*,
                                                        const CMPIResult* result,
                                                        const CMPIObjectPath* path, const char**) {
    CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruEnumInstances: entry");
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    bool enabled = false;

    ErrlEntry* gateEntry = cimpQueryCimEnabled(enabled);
    if (gateEntry != nullptr) {
        CIMP_TRACE(" %X", "CIMP_Vesk_AssociatedTOvPassthruEnumInstances: gate failed rc=0x%X",
                   gateEntry->getRC());
    } else if (!enabled) {
        CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruEnumInstances: CIM not enabled");
    } else {
        CMPIInstance* instance = nullptr;
        buildRequestedInstance(path, instance, status);
        if (status.rc == CMPI_RC_OK) {
            result->ft->returnInstance(result, instance);
            result->ft->returnDone(result);
        }
    }

    if (gateEntry != nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        cimpCommitAndDelete(gateEntry);
    }
    CIMP_TRACE(" %X", "CIMP_Vesk_AssociatedTOvPassthruEnumInstances: exit rc=0x%X",
               static_cast<uint32_t>(status.rc));
    return status;
}

CMPIStatus CIMP_Vesk_AssociatedTOvPassthruGetInstance(CMPIInstanceMI*, const CMPIContext*,
                                                      const CMPIResult* result,
                                                      const CMPIObjectPath* path, const char**) {
    CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruGetInstance: entry");
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    bool enabled = false;
    CMPIInstance* instance = nullptr;

    ErrlEntry* gateEntry = cimpQueryCimEnabled(enabled);
    if (gateEntry != nullptr) {
        CIMP_TRACE(" %X", "CIMP_Vesk_AssociatedTOvPassthruGetInstance: gate failed rc=0x%X",
                   gateEntry->getRC());
    } else if (!enabled) {
        CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruGetInstance: CIM not enabled");
        status.rc = CMPI_RC_ERR_NOT_FOUND;
    } else {
        buildRequestedInstance(path, instance, status);
        if (status.rc == CMPI_RC_OK) {
            // The requested keys must all be found in the one instance; it may carry more.
            const int match = cimpMatchObjectPathKeys(
                path, instance->ft->getObjectPath(instance, nullptr), false);
            status.rc = static_cast<CMPIrc>(match);
            if (match != CMPI_RC_OK) {
                CIMP_TRACE(" %X", "CIMP_Vesk_AssociatedTOvPassthruGetInstance: keys differ rc=0x%X",
                           static_cast<uint32_t>(match));
            }
        }
    }

    if (gateEntry != nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        cimpCommitAndDelete(gateEntry);
    }
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruGetInstance: answered as not found");
        status.rc = CMPI_RC_ERR_NOT_FOUND;
    } else {
        result->ft->returnInstance(result, instance);
        result->ft->returnDone(result);
    }
    CIMP_TRACE(" %X", "CIMP_Vesk_AssociatedTOvPassthruGetInstance: exit rc=0x%X",
               static_cast<uint32_t>(status.rc));
    return status;
}
