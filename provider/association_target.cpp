#include "provider/association_target.h"

#include <cmpift.h>

#include <cstdint>
#include <cstring>

#include "platform/trace_point.h"

namespace {

void failWithMessage(const CMPIBroker* broker, CMPIStatus* status, const char* message) {
    status->rc = CMPI_RC_ERR_FAILED;
    status->msg = broker->eft->newString(broker, message, nullptr);
}

const char* pickTargetClass(const CMPIBroker* broker, const CMPIObjectPath* sourcePath,
                            const char* firstClass, const char* secondClass, CMPIStatus* status) {
    const CMPIString* name =
        sourcePath == nullptr ? nullptr : sourcePath->ft->getClassName(sourcePath, status);
    // A string without character data is as useless as no string at all.
    if (name == nullptr || name->hdl == nullptr) {
        CIMP_TRACE(" ", "cimpGetAssociationTargetClassName: source path has no class name");
        failWithMessage(broker, status, "Bad source object path.");
        return nullptr;
    }

    const char* className = static_cast<const char*>(name->hdl);
    if (std::strcmp(className, firstClass) == 0) {
        return secondClass;
    }
    if (std::strcmp(className, secondClass) == 0) {
        return firstClass;
    }
    // Other spellings and subclasses are the broker's to judge.
    if (broker->eft->classPathIsA(broker, sourcePath, firstClass, status) == 1) {
        return secondClass;
    }
    if (broker->eft->classPathIsA(broker, sourcePath, secondClass, status) == 1) {
        return firstClass;
    }

    CIMP_TRACE(" ", "cimpGetAssociationTargetClassName: source of neither class");
    failWithMessage(broker, status, "Object not involved in an association.");
    return nullptr;
}

}  // namespace

const char* cimpGetAssociationTargetClassName(const CMPIBroker* broker,
                                              const CMPIObjectPath* sourcePath,
                                              const char* firstClass, const char* secondClass,
                                              CMPIStatus* status) {
    CIMP_TRACE(" %s,%s", "cimpGetAssociationTargetClassName: entry first=%s second=%s", firstClass,
               secondClass);
    const char* target = pickTargetClass(broker, sourcePath, firstClass, secondClass, status);
    CIMP_TRACE(" %X,%s", "cimpGetAssociationTargetClassName: exit rc=0x%X target=%s",
               static_cast<uint32_t>(status->rc), target != nullptr ? target : "Class not found");
    return target;
}
