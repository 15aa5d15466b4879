#include "cimom/cim/operation.h"

#include "base/text_case.h"

namespace cimhost {
namespace {

struct KindName {
    OperationKind kind;
    const char* name;
};

const KindName kKindNames[] = {
    {OperationKind::GetClass, "GetClass"},
    {OperationKind::EnumerateClasses, "EnumerateClasses"},
    {OperationKind::EnumerateClassNames, "EnumerateClassNames"},
    {OperationKind::GetInstance, "GetInstance"},
    {OperationKind::EnumerateInstances, "EnumerateInstances"},
    {OperationKind::EnumerateInstanceNames, "EnumerateInstanceNames"},
    {OperationKind::Associators, "Associators"},
    {OperationKind::AssociatorNames, "AssociatorNames"},
    {OperationKind::References, "References"},
    {OperationKind::ReferenceNames, "ReferenceNames"},
    {OperationKind::CreateInstance, "CreateInstance"},
    {OperationKind::ModifyInstance, "ModifyInstance"},
    {OperationKind::DeleteInstance, "DeleteInstance"},
    {OperationKind::ExecQuery, "ExecQuery"},
    {OperationKind::GetQualifier, "GetQualifier"},
    {OperationKind::EnumerateQualifiers, "EnumerateQualifiers"},
    {OperationKind::OpenEnumerateInstances, "OpenEnumerateInstances"},
    {OperationKind::OpenEnumerateInstancePaths, "OpenEnumerateInstancePaths"},
    {OperationKind::OpenAssociatorInstances, "OpenAssociatorInstances"},
    {OperationKind::OpenAssociatorInstancePaths, "OpenAssociatorInstancePaths"},
    {OperationKind::OpenReferenceInstances, "OpenReferenceInstances"},
    {OperationKind::OpenReferenceInstancePaths, "OpenReferenceInstancePaths"},
    {OperationKind::PullInstancesWithPath, "PullInstancesWithPath"},
    {OperationKind::PullInstancePaths, "PullInstancePaths"},
    {OperationKind::OpenQueryInstances, "OpenQueryInstances"},
    {OperationKind::PullInstances, "PullInstances"},
    {OperationKind::CloseEnumeration, "CloseEnumeration"},
    {OperationKind::EnumerationCount, "EnumerationCount"},
};

}  // namespace

OperationKind operationKindFromName(const std::string& method) {
    for (const KindName& entry : kKindNames) {
        if (cimp::equalsIgnoreCase(method, entry.name)) {
            return entry.kind;
        }
    }
    return OperationKind::Unsupported;
}

const char* operationName(OperationKind kind) {
    for (const KindName& entry : kKindNames) {
        if (entry.kind == kind) {
            return entry.name;
        }
    }
    return "Unsupported";
}

}  // namespace cimhost
