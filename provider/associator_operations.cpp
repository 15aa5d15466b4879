#include "provider/associator_operations.h"

#include <cmpift.h>
#include <strings.h>

#include <cstdint>

#include "model/cec.h"
#include "model/class_names.h"
#include "model/errl_commit.h"
#include "model/tovpassthru.h"
#include "platform/errl_entry.h"
#include "platform/trace_point.h"
#include "provider/association_target.h"
#include "provider/broker_slot.h"
#include "provider/class_name.h"
#include "provider/filter_trace.h"
#include "sysdata/enablement_gate.h"

namespace {

// What the source path and the association-class, role and result-role filters leave.
enum class SourceVerdict { Answer, NoAnswer, NotOfAssociationClass };

// How the names operation ends: through its common exit (exit trace, returnDone) or at once.
enum class Ending { CommonExit, AtOnce };

bool isManagedSystemClass(const char* className) {
    return strcasecmp(className, g_CIMP_TOvPassthruUserOfService) == 0;
}

// Asks the broker whether the association counts as `assocClass` in the source's namespace.
SourceVerdict testAssociationClass(const CMPIBroker* broker, const CMPIObjectPath* sourcePath,
                                   const char* assocClass, CMPIStatus& status) {
    const CMPIString* nameSpace = sourcePath->ft->getNameSpace(sourcePath, &status);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" ", "associator operation: source namespace unreadable");
        return SourceVerdict::NoAnswer;
    }
    if (nameSpace == nullptr || nameSpace->hdl == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        return SourceVerdict::NoAnswer;
    }
    const CMPIObjectPath* classPath = broker->eft->newObjectPath(
        broker, static_cast<const char*>(nameSpace->hdl), "Vesk_AssociatedTOvPassthru", &status);
    if (status.rc != CMPI_RC_OK) {
        return SourceVerdict::NoAnswer;
    }
    if (classPath == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        return SourceVerdict::NoAnswer;
    }
    if (broker->eft->classPathIsA(broker, classPath, assocClass, &status) == 0) {
        return SourceVerdict::NotOfAssociationClass;
    }
    return SourceVerdict::Answer;
}

// Reads the source's class, applies the association-class, role and result-role filters and
// sets `targetClass` to the class at the other end when the verdict is Answer.
SourceVerdict judgeSource(const CMPIBroker* broker, const CMPIObjectPath* sourcePath,
                          const char* assocClass, const char* role, const char* resultRole,
                          const char*& targetClass, CMPIStatus& status) {
    char* className = nullptr;
    status = cimpGetClassName(sourcePath, className);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X", "associator operation: source class name unreadable rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return SourceVerdict::NoAnswer;
    }
    if (assocClass != nullptr) {
        const SourceVerdict verdict = testAssociationClass(broker, sourcePath, assocClass, status);
        if (verdict != SourceVerdict::Answer) {
            return verdict;
        }
    }

    const char* sourceRole = nullptr;
    if (strcasecmp(className, g_CIMP_TOvPassthruServiceProvided) == 0) {
        sourceRole = g_CIMP_RoleServiceProvided;
    } else if (isManagedSystemClass(className)) {
        sourceRole = g_CIMP_RoleUserOfService;
    } else {
        return SourceVerdict::NoAnswer;
    }

    // The helper's message ("Bad source object path." and the like) stays in the status.
    targetClass =
        cimpGetAssociationTargetClassName(broker, sourcePath, g_CIMP_TOvPassthruServiceProvided,
                                          g_CIMP_TOvPassthruUserOfService, &status);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" ", "associator operation: no target class");
        return SourceVerdict::NoAnswer;
    }

    if (role != nullptr && strcasecmp(role, sourceRole) != 0) {
        return SourceVerdict::NoAnswer;
    }
    const char* targetRole =
        isManagedSystemClass(targetClass) ? g_CIMP_RoleUserOfService : g_CIMP_RoleServiceProvided;
    if (resultRole != nullptr && strcasecmp(resultRole, targetRole) != 0) {
        return SourceVerdict::NoAnswer;
    }
    return SourceVerdict::Answer;
}

Ending answerAssociatorNames(const CMPIResult* result, const CMPIObjectPath* sourcePath,
                             const char* assocClass, const char* resultClass, const char* role,
                             const char* resultRole, CMPIStatus& status) {
    const CMPIBroker* broker = cimpStoredBroker();
    const char* targetClass = nullptr;
    switch (judgeSource(broker, sourcePath, assocClass, role, resultRole, targetClass, status)) {
        case SourceVerdict::NoAnswer:
            return Ending::CommonExit;
        case SourceVerdict::NotOfAssociationClass:
            return Ending::AtOnce;
        case SourceVerdict::Answer:
            break;
    }

    CMPIObjectPath* targetPath = isManagedSystemClass(targetClass)
                                     ? CIMP_getCECObjectPath(broker)
                                     : CIMP_getTOvPassthruObjectPath(broker);
    if (targetPath == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        return Ending::CommonExit;
    }
    if (resultClass != nullptr &&
        broker->eft->classPathIsA(broker, targetPath, resultClass, &status) == 0) {
        return Ending::AtOnce;
    }
    // returnDone follows at the common exit.
    result->ft->returnObjectPath(result, targetPath);
    return Ending::CommonExit;
}

void answerAssociators(const CMPIResult* result, const CMPIObjectPath* sourcePath,
                       const char* assocClass, const char* resultClass, const char* role,
                       const char* resultRole, const char** properties, CMPIStatus& status) {
    const CMPIBroker* broker = cimpStoredBroker();
    const char* targetClass = nullptr;
    if (judgeSource(broker, sourcePath, assocClass, role, resultRole, targetClass, status) !=
        SourceVerdict::Answer) {
        return;
    }

    // The property filter keeps each target's keys.
    const char* managedSystemKeys[] = {"Name", "CreationClassName", "UUID", nullptr};
    const char* passthruKeys[] = {"CreationClassName", "Name", "SystemCreationClassName",
                                  "SystemName", nullptr};
    const char** targetKeys = nullptr;
    CMPIInstance* instance = nullptr;
    if (isManagedSystemClass(targetClass)) {
        targetKeys = managedSystemKeys;
        CIMP_getCECInstance(broker, instance, &status);
        if (status.rc != CMPI_RC_OK) {
            CIMP_TRACE(" %X",
                       "CIMP_Vesk_AssociatedTOvPassthruAssociators: system not built rc=0x%X",
                       static_cast<uint32_t>(status.rc));
            return;
        }
    } else {
        targetKeys = passthruKeys;
        CIMP_getTOvPassthruInstance(broker, instance, &status);
        if (status.rc != CMPI_RC_OK) {
            CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruAssociators: service not built");
            return;
        }
    }

    if (resultClass != nullptr &&
        broker->eft->classPathIsA(broker, instance->ft->getObjectPath(instance, nullptr),
                                  resultClass, &status) == 0) {
        return;
    }
    if (properties != nullptr) {
        status = instance->ft->setPropertyFilter(instance, properties, targetKeys);
        if (status.rc != CMPI_RC_OK) {
            CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruAssociators: property filter failed");
            return;
        }
    }
    result->ft->returnInstance(result, instance);
    result->ft->returnDone(result);
}

}  // namespace

CMPIStatus CIMP_Vesk_AssociatedTOvPassthruAssociatorNames(CMPIAssociationMI*, const CMPIContext*,
                                                          const CMPIResult* result,
                                                          const CMPIObjectPath* sourcePath,
                                                          const char* assocClass,
                                                          const char* resultClass, const char* role,
                                                          const char* resultRole) {
    CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruAssociatorNames: entry");
    cimpTraceAssociatorArgs(assocClass, resultClass, role, resultRole, nullptr);
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    bool enabled = false;

    ErrlEntry* gateEntry = cimpQueryCimEnabled(enabled);
    if (gateEntry != nullptr) {
        CIMP_TRACE(" %X", "CIMP_Vesk_AssociatedTOvPassthruAssociatorNames: gate failed rc=0x%X",
                   gateEntry->getRC());
    } else if (!enabled) {
        CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruAssociatorNames: CIM not enabled");
    } else if (answerAssociatorNames(result, sourcePath, assocClass, resultClass, role, resultRole,
                                     status) == Ending::AtOnce) {
        return status;
    }

    if (gateEntry != nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        cimpCommitAndDelete(gateEntry);
    }
    CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruAssociatorNames: exit");
    // Unlike the instance operation, every answer through here is closed, even an empty one.
    result->ft->returnDone(result);
    return status;
}

CMPIStatus CIMP_Vesk_AssociatedTOvPassthruAssociators(
    CMPIAssociationMI*, const CMPIContext*, const CMPIResult* result,
    const CMPIObjectPath* sourcePath, const char* assocClass, const char* resultClass,
    const char* role, const char* resultRole, const char** properties) {
    CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruAssociators: entry");
    cimpTraceAssociatorArgs(assocClass, resultClass, role, resultRole, properties);
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    bool enabled = false;

    ErrlEntry* gateEntry = cimpQueryCimEnabled(enabled);
    if (gateEntry != nullptr) {
        CIMP_TRACE(" %X", "CIMP_Vesk_AssociatedTOvPassthruAssociators: gate failed rc=0x%X",
                   gateEntry->getRC());
    } else if (!enabled) {
        CIMP_TRACE(" ", "CIMP_Vesk_AssociatedTOvPassthruAssociators: CIM not enabled");
    } else {
        // Rejections by association or result class end here too, with the exit trace.
        answerAssociators(result, sourcePath, assocClass, resultClass, role, resultRole, properties,
                          status);
    }

    if (gateEntry != nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        cimpCommitAndDelete(gateEntry);
    }
    CIMP_TRACE(" %X", "CIMP_Vesk_AssociatedTOvPassthruAssociators: exit rc=0x%X",
               static_cast<uint32_t>(status.rc));
    return status;
}
