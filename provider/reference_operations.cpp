#include "provider/reference_operations.h"

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
#include "provider/filter_trace.h"
#include "sysdata/enablement_gate.h"

namespace {

// How an answer ends: through the operation's common exit, or at once when the result class
// rejects the association (no exit trace, no returnDone).
enum class Ending { CommonExit, AtOnce };

// Whether the source is of either associated class and, when a role is given, plays it. Only
// the class-name read changes `status`.
bool sourcePlaysRole(const CMPIObjectPath* sourcePath, const char* role, CMPIStatus& status) {
    char* className = nullptr;
    status = cimpGetClassName(sourcePath, className);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X", "reference operation: source class name unreadable rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return false;
    }

    const char* sourceRole = nullptr;
    if (strcasecmp(className, g_CIMP_TOvPassthruServiceProvided) == 0) {
        sourceRole = g_CIMP_RoleServiceProvided;
    } else if (strcasecmp(className, g_CIMP_TOvPassthruUserOfService) == 0) {
        sourceRole = g_CIMP_RoleUserOfService;
    } else {
        return false;
    }
    return role == nullptr || strcasecmp(role, sourceRole) == 0;
}

Ending answerReferenceNames(const CMPIResult* result, const CMPIObjectPath* sourcePath,
                            const char* resultClass, const char* role, CMPIStatus& status) {
    if (!sourcePlaysRole(sourcePath, role, status)) {
        return Ending::CommonExit;
    }
    const CMPIBroker* broker = cimpStoredBroker();
    CMPIObjectPath* associationPath = nullptr;
    // The path builder has traced its own failure.
    status = CIMP_getAssociatedTOvPassthruObjectPath(broker, associationPath);
    if (status.rc != CMPI_RC_OK) {
        return Ending::CommonExit;
    }
    if (resultClass != nullptr &&
        broker->eft->classPathIsA(broker, associationPath, resultClass, &status) == 0) {
        return Ending::AtOnce;
    }
    result->ft->returnObjectPath(result, associationPath);
    result->ft->returnDone(result);
    return Ending::CommonExit;
}

Ending answerReferences(const CMPIResult* result, const CMPIObjectPath* sourcePath,
                        const char* resultClass, const char* role, const char** properties,
                        CMPIStatus& status) {
    if (!sourcePlaysRole(sourcePath, role, status)) {
        return Ending::CommonExit;
    }
    const CMPIBroker* broker = cimpStoredBroker();
    CMPIInstance* instance = nullptr;
    status = CIMP_getAssociatedTOvPassthruInstance(broker, instance);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" ",
                   "CIMP_Vesk_AssociatedTOvPassthruReferences: association instance not built");
        return Ending::CommonExit;
    }
    if (resultClass != nullptr &&
        broker->eft->classPathIsA(broker, instance->ft->getObjectPath(instance, nullptr),
                                  resultClass, &status) == 0) {
        return Ending::AtOnce;
    }
    if (properties != nullptr) {
        // Both references are the association's keys and survive any property list.
        const char* keys[] = {g_CIMP_RoleServiceProvided, g_CIMP_RoleUserOfService, nullptr};
        status = instance->ft->setPropertyFilter(instance, properties, keys);
        if (status.rc != CMPI_RC_OK) {
            CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruReferences: property filter failed");
            return Ending::CommonExit;
        }
    }
    result->ft->returnInstance(result, instance);
    result->ft->returnDone(result);
    return Ending::CommonExit;
}

}  // namespace

CMPIStatus CIMP_Vesk_AssociatedTOvPassthruReferenceNames(CMPIAssociationMI*, const CMPIContext*,
                                                         const CMPIResult* result,
                                                         const CMPIObjectPath* sourcePath,
                                                         const char* resultClass,
                                                         const char* role) {
    CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruReferenceNames: entry");
    cimpTraceReferenceArgs(resultClass, role, nullptr);
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    bool enabled = false;

    ErrlEntry* gateEntry = cimpQueryCimEnabled(enabled);
    if (gateEntry != nullptr) {
        CIMP_TRACE(" %X", "CIMP_Vesk_AssociatedTOvPassthruReferenceNames: gate failed rc=0x%X",
                   gateEntry->getRC());
    } else if (!enabled) {
        CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruReferenceNames: CIM not enabled");
    } else if (answerReferenceNames(result, sourcePath, resultClass, role, status) ==
               Ending::AtOnce) {
        return status;
    }

    if (gateEntry != nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        cimpCommitAndDelete(gateEntry);
    }
    CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruReferenceNames: exit");
    return status;
}

CMPIStatus CIMP_Vesk_AssociatedTOvPassthruReferences(CMPIAssociationMI*, const CMPIContext*,
                                                     const CMPIResult* result,
                                                     const CMPIObjectPath* sourcePath,
                                                     const char* resultClass, const char* role,
                                                     const char** properties) {
    CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruReferences: entry");
    cimpTraceReferenceArgs(resultClass, role, properties);
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    bool enabled = false;

    ErrlEntry* gateEntry = cimpQueryCimEnabled(enabled);
    if (gateEntry != nullptr) {
        CIMP_TRACE(" %X", "CIMP_Vesk_AssociatedTOvPassthruReferences: gate failed rc=0x%X",
                   gateEntry->getRC());
    } else if (!enabled) {
        CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruReferences: CIM not enabled");
    } else if (answerReferences(result, sourcePath, resultClass, role, properties, status) ==
               Ending::AtOnce) {
        return status;
    }

    if (gateEntry != nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        cimpCommitAndDelete(gateEntry);
    }
    CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruReferences: exit");
    return status;
}
