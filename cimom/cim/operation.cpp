#include "cimom/cim/operation.h"

#include <iterator>

#include "base/text_case.h"

namespace cimhost {
namespace {

// Indexed by OperationKind, which lists the kinds in this order.
const char* const kKindNames[] = {
    "GetClass",
    "EnumerateClasses",
    "EnumerateClassNames",
    "GetInstance",
    "EnumerateInstances",
    "EnumerateInstanceNames",
    "Associators",
    "AssociatorNames",
    "References",
    "ReferenceNames",
    "CreateInstance",
    "ModifyInstance",
    "DeleteInstance",
    "ExecQuery",
    "GetQualifier",
    "EnumerateQualifiers",
    "OpenEnumerateInstances",
    "OpenEnumerateInstancePaths",
    "OpenAssociatorInstances",
    "OpenAssociatorInstancePaths",
    "OpenReferenceInstances",
    "OpenReferenceInstancePaths",
    "PullInstancesWithPath",
    "PullInstancePaths",
    "OpenQueryInstances",
    "PullInstances",
    "CloseEnumeration",
    "EnumerationCount",
};
static_assert(std::size(kKindNames) == static_cast<std::size_t>(OperationKind::Unsupported),
              "a name for every kind");

}  // namespace

OperationKind operationKindFromName(const std::string& method) {
    for (std::size_t kind = 0; kind < std::size(kKindNames); ++kind) {
        if (cimp::equalsIgnoreCase(method, kKindNames[kind])) {
            return static_cast<OperationKind>(kind);
        }
    }
    return OperationKind::Unsupported;
}

const char* operationName(OperationKind kind) {
    const auto index = static_cast<std::size_t>(kind);
    return index < std::size(kKindNames) ? kKindNames[index] : "Unsupported";
}

}  // namespace cimhost
