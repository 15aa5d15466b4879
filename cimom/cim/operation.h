// Operation: one decoded CIM-XML intrinsic method call, as plain values. The XML decoder fills
// it; the router and the response encoder read it. Flags already hold the DSP0200 default of
// their method when the request left them out. Plain data: copy freely.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cimhost {

enum class OperationKind {
    GetClass,
    EnumerateClasses,
    EnumerateClassNames,
    GetInstance,
    EnumerateInstances,
    EnumerateInstanceNames,
    Associators,
    AssociatorNames,
    References,
    ReferenceNames,
    CreateInstance,
    ModifyInstance,
    DeleteInstance,
    ExecQuery,
    GetQualifier,
    EnumerateQualifiers,
    OpenEnumerateInstances,
    OpenEnumerateInstancePaths,
    OpenAssociatorInstances,
    OpenAssociatorInstancePaths,
    OpenReferenceInstances,
    OpenReferenceInstancePaths,
    PullInstancesWithPath,
    PullInstancePaths,
    OpenQueryInstances,
    PullInstances,
    CloseEnumeration,
    EnumerationCount,
    Unsupported,  // any other intrinsic method, or an extrinsic method call
};

// The kind whose DSP0200 name equals `method` without regard to case; Unsupported otherwise.
OperationKind operationKindFromName(const std::string& method);
const char* operationName(OperationKind kind);

struct ObjectName;

// The value of a key binding. Numeric and boolean values keep the request's text; the router
// types them from the schema.
struct KeyValue {
    enum class Type { String, Boolean, Numeric, Reference };
    Type type = Type::String;
    std::string text;
    std::shared_ptr<const ObjectName> reference;  // set for Reference only
};

struct KeyBinding {
    std::string name;
    KeyValue value;
};

// An instance name with optional host and namespace (empty when the request gave none).
struct ObjectName {
    std::string host;
    std::string nameSpace;
    std::string className;
    std::vector<KeyBinding> keys;
};

// A property value of an instance in a request (CreateInstance, ModifyInstance).
struct PropertyValue {
    std::string name;
    std::string type;  // CIM type as the request declared it; "reference" for references
    bool isArray = false;
    bool isNull = false;
    std::vector<std::string> values;  // one element for a scalar
    std::shared_ptr<const ObjectName> reference;
};

struct InstanceValue {
    std::string className;
    std::vector<PropertyValue> properties;
};

struct Operation {
    std::string messageId;
    std::string method;  // as the request spelled it
    OperationKind kind = OperationKind::Unsupported;
    bool extrinsic = false;
    std::string nameSpace;  // "root/orvcim"

    std::string className;                  // ClassName; empty when absent or NULL
    std::optional<ObjectName> objectName;   // InstanceName, ObjectName or ModifiedInstance's name
    std::optional<InstanceValue> instance;  // NewInstance or ModifiedInstance
    std::string assocClass;                 // empty: NULL
    std::string resultClass;
    std::string role;
    std::string resultRole;
    std::optional<std::vector<std::string>> propertyList;  // nullopt: every property
    std::string queryLanguage;
    std::string query;
    std::string qualifierName;

    // The pull operations' parameters; nullopt when NULL or left out.
    std::optional<std::string> enumerationContext;
    std::optional<std::uint32_t> maxObjectCount;
    std::optional<std::uint32_t> operationTimeout;
    std::optional<std::string> filterQueryLanguage;
    std::optional<std::string> filterQuery;
    bool continueOnError = false;
    bool returnQueryResultClass = false;  // OpenQueryInstances

    bool localOnly = false;
    bool deepInheritance = false;
    bool includeQualifiers = false;
    bool includeClassOrigin = false;
};

}  // namespace cimhost
