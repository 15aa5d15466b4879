#include "cimom/wire/request_parameters.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

#include "base/text.h"
#include "base/text_case.h"

namespace cimhost {

using cimp::trimmed;

namespace {

Status readBoolean(const ParameterValue* v, bool& into) {
    if (v == nullptr) {
        return Status();
    }
    const std::string text = trimmed(v->text);
    if (cimp::equalsIgnoreCase(text, "true") || cimp::equalsIgnoreCase(text, "false")) {
        into = cimp::equalsIgnoreCase(text, "true");
        return Status();
    }
    return Status::invalidParameter("\"" + text + "\" is not a boolean");
}

Status readUint32(const ParameterValue* v, std::optional<std::uint32_t>& into) {
    if (v == nullptr) {
        into.reset();
        return Status();
    }
    const std::string text = trimmed(v->text);
    constexpr std::size_t kMaxDigits = 10;
    std::uint64_t value = 0;
    bool digits = !text.empty() && text.size() <= kMaxDigits;
    for (char c : text) {
        digits = digits && c >= '0' && c <= '9';
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (!digits || value > UINT32_MAX) {
        return Status::invalidParameter("\"" + text + "\" is not a uint32");
    }
    into = static_cast<std::uint32_t>(value);
    return Status();
}

// Reads a parameter's value into the field of Operation it sets.
template <std::string Operation::*field>
Status text(Operation& op, ParameterValue* v) {
    op.*field = v == nullptr ? std::string() : std::move(v->text);
    return Status();
}
template <std::optional<std::string> Operation::*field>
Status optionalText(Operation& op, ParameterValue* v) {
    op.*field = v == nullptr ? std::nullopt : std::optional<std::string>(std::move(v->text));
    return Status();
}
template <bool Operation::*field>
Status boolean(Operation& op, ParameterValue* v) {
    return readBoolean(v, op.*field);
}
template <std::optional<std::uint32_t> Operation::*field>
Status uint32(Operation& op, ParameterValue* v) {
    return readUint32(v, op.*field);
}

constexpr ApplyParameter applyClassName = text<&Operation::className>;
constexpr ApplyParameter applyAssocClass = text<&Operation::assocClass>;
constexpr ApplyParameter applyResultClass = text<&Operation::resultClass>;
constexpr ApplyParameter applyRole = text<&Operation::role>;
constexpr ApplyParameter applyResultRole = text<&Operation::resultRole>;
constexpr ApplyParameter applyQueryLanguage = text<&Operation::queryLanguage>;
constexpr ApplyParameter applyQuery = text<&Operation::query>;
constexpr ApplyParameter applyQualifierName = text<&Operation::qualifierName>;
constexpr ApplyParameter applyLocalOnly = boolean<&Operation::localOnly>;
constexpr ApplyParameter applyDeepInheritance = boolean<&Operation::deepInheritance>;
constexpr ApplyParameter applyIncludeQualifiers = boolean<&Operation::includeQualifiers>;
constexpr ApplyParameter applyIncludeClassOrigin = boolean<&Operation::includeClassOrigin>;
constexpr ApplyParameter applyContinueOnError = boolean<&Operation::continueOnError>;
constexpr ApplyParameter applyReturnQueryResultClass = boolean<&Operation::returnQueryResultClass>;
constexpr ApplyParameter applyEnumerationContext = optionalText<&Operation::enumerationContext>;
constexpr ApplyParameter applyFilterQueryLanguage = optionalText<&Operation::filterQueryLanguage>;
constexpr ApplyParameter applyFilterQuery = optionalText<&Operation::filterQuery>;
constexpr ApplyParameter applyMaxObjectCount = uint32<&Operation::maxObjectCount>;
constexpr ApplyParameter applyOperationTimeout = uint32<&Operation::operationTimeout>;

Status applyInstanceName(Operation& op, ParameterValue* v) {
    if (v != nullptr) {
        op.objectName = std::move(v->name);
    }
    return Status();
}
// An instance name, or a class name for the class-level form of the association operations.
Status applyObjectName(Operation& op, ParameterValue* v) {
    return v != nullptr && v->isClassName ? applyClassName(op, v) : applyInstanceName(op, v);
}
Status applyPropertyList(Operation& op, ParameterValue* v) {
    if (v == nullptr) {
        op.propertyList.reset();
    } else {
        op.propertyList = std::move(v->texts);
    }
    return Status();
}
Status applyNewInstance(Operation& op, ParameterValue* v) {
    if (v != nullptr) {
        op.instance = std::move(v->instance);
    }
    return Status();
}
// Takes whichever of name and instance were read: a refused instance still leaves its name.
Status applyModifiedInstance(Operation& op, ParameterValue* v) {
    if (v != nullptr && v->name) {
        op.objectName = std::move(v->name);
    }
    if (v != nullptr && v->instance) {
        op.instance = std::move(v->instance);
    }
    return Status();
}

using K = OperationKind;
using F = ValueForm;

// Parameters every open operation takes besides its own.
constexpr ParameterRule kOpenParameters[] = {
    {K::Unsupported, "FilterQueryLanguage", false, F::Text, applyFilterQueryLanguage},
    {K::Unsupported, "FilterQuery", false, F::Text, applyFilterQuery},
    {K::Unsupported, "OperationTimeout", false, F::Text, applyOperationTimeout},
    {K::Unsupported, "ContinueOnError", false, F::Text, applyContinueOnError},
    {K::Unsupported, "MaxObjectCount", false, F::Text, applyMaxObjectCount},
};

constexpr ParameterRule kParameters[] = {
    {K::GetClass, "ClassName", true, F::ClassName, applyClassName},
    {K::GetClass, "LocalOnly", false, F::Text, applyLocalOnly},
    {K::GetClass, "IncludeQualifiers", false, F::Text, applyIncludeQualifiers},
    {K::GetClass, "IncludeClassOrigin", false, F::Text, applyIncludeClassOrigin},
    {K::GetClass, "PropertyList", false, F::TextArray, applyPropertyList},
    {K::EnumerateClasses, "ClassName", false, F::ClassName, applyClassName},
    {K::EnumerateClasses, "DeepInheritance", false, F::Text, applyDeepInheritance},
    {K::EnumerateClasses, "LocalOnly", false, F::Text, applyLocalOnly},
    {K::EnumerateClasses, "IncludeQualifiers", false, F::Text, applyIncludeQualifiers},
    {K::EnumerateClasses, "IncludeClassOrigin", false, F::Text, applyIncludeClassOrigin},
    {K::EnumerateClassNames, "ClassName", false, F::ClassName, applyClassName},
    {K::EnumerateClassNames, "DeepInheritance", false, F::Text, applyDeepInheritance},
    {K::GetInstance, "InstanceName", true, F::InstanceName, applyInstanceName},
    {K::GetInstance, "LocalOnly", false, F::Text, applyLocalOnly},
    {K::GetInstance, "IncludeQualifiers", false, F::Text, applyIncludeQualifiers},
    {K::GetInstance, "IncludeClassOrigin", false, F::Text, applyIncludeClassOrigin},
    {K::GetInstance, "PropertyList", false, F::TextArray, applyPropertyList},
    {K::EnumerateInstances, "ClassName", true, F::ClassName, applyClassName},
    {K::EnumerateInstances, "LocalOnly", false, F::Text, applyLocalOnly},
    {K::EnumerateInstances, "DeepInheritance", false, F::Text, applyDeepInheritance},
    {K::EnumerateInstances, "IncludeQualifiers", false, F::Text, applyIncludeQualifiers},
    {K::EnumerateInstances, "IncludeClassOrigin", false, F::Text, applyIncludeClassOrigin},
    {K::EnumerateInstances, "PropertyList", false, F::TextArray, applyPropertyList},
    {K::EnumerateInstanceNames, "ClassName", true, F::ClassName, applyClassName},
    {K::Associators, "ObjectName", true, F::ObjectName, applyObjectName},
    {K::Associators, "AssocClass", false, F::ClassName, applyAssocClass},
    {K::Associators, "ResultClass", false, F::ClassName, applyResultClass},
    {K::Associators, "Role", false, F::Text, applyRole},
    {K::Associators, "ResultRole", false, F::Text, applyResultRole},
    {K::Associators, "IncludeQualifiers", false, F::Text, applyIncludeQualifiers},
    {K::Associators, "IncludeClassOrigin", false, F::Text, applyIncludeClassOrigin},
    {K::Associators, "PropertyList", false, F::TextArray, applyPropertyList},
    {K::AssociatorNames, "ObjectName", true, F::ObjectName, applyObjectName},
    {K::AssociatorNames, "AssocClass", false, F::ClassName, applyAssocClass},
    {K::AssociatorNames, "ResultClass", false, F::ClassName, applyResultClass},
    {K::AssociatorNames, "Role", false, F::Text, applyRole},
    {K::AssociatorNames, "ResultRole", false, F::Text, applyResultRole},
    {K::References, "ObjectName", true, F::ObjectName, applyObjectName},
    {K::References, "ResultClass", false, F::ClassName, applyResultClass},
    {K::References, "Role", false, F::Text, applyRole},
    {K::References, "IncludeQualifiers", false, F::Text, applyIncludeQualifiers},
    {K::References, "IncludeClassOrigin", false, F::Text, applyIncludeClassOrigin},
    {K::References, "PropertyList", false, F::TextArray, applyPropertyList},
    {K::ReferenceNames, "ObjectName", true, F::ObjectName, applyObjectName},
    {K::ReferenceNames, "ResultClass", false, F::ClassName, applyResultClass},
    {K::ReferenceNames, "Role", false, F::Text, applyRole},
    {K::CreateInstance, "NewInstance", true, F::Instance, applyNewInstance},
    {K::ModifyInstance, "ModifiedInstance", true, F::NamedInstance, applyModifiedInstance},
    {K::ModifyInstance, "IncludeQualifiers", false, F::Text, applyIncludeQualifiers},
    {K::ModifyInstance, "PropertyList", false, F::TextArray, applyPropertyList},
    {K::DeleteInstance, "InstanceName", true, F::InstanceName, applyInstanceName},
    {K::ExecQuery, "QueryLanguage", true, F::Text, applyQueryLanguage},
    {K::ExecQuery, "Query", true, F::Text, applyQuery},
    {K::GetQualifier, "QualifierName", true, F::Text, applyQualifierName},
    {K::OpenEnumerateInstances, "ClassName", true, F::ClassName, applyClassName},
    {K::OpenEnumerateInstances, "DeepInheritance", false, F::Text, applyDeepInheritance},
    {K::OpenEnumerateInstances, "IncludeClassOrigin", false, F::Text, applyIncludeClassOrigin},
    {K::OpenEnumerateInstances, "PropertyList", false, F::TextArray, applyPropertyList},
    {K::OpenEnumerateInstancePaths, "ClassName", true, F::ClassName, applyClassName},
    {K::OpenAssociatorInstances, "InstanceName", true, F::InstanceName, applyInstanceName},
    {K::OpenAssociatorInstances, "AssocClass", false, F::ClassName, applyAssocClass},
    {K::OpenAssociatorInstances, "ResultClass", false, F::ClassName, applyResultClass},
    {K::OpenAssociatorInstances, "Role", false, F::Text, applyRole},
    {K::OpenAssociatorInstances, "ResultRole", false, F::Text, applyResultRole},
    {K::OpenAssociatorInstances, "IncludeClassOrigin", false, F::Text, applyIncludeClassOrigin},
    {K::OpenAssociatorInstances, "PropertyList", false, F::TextArray, applyPropertyList},
    {K::OpenAssociatorInstancePaths, "InstanceName", true, F::InstanceName, applyInstanceName},
    {K::OpenAssociatorInstancePaths, "AssocClass", false, F::ClassName, applyAssocClass},
    {K::OpenAssociatorInstancePaths, "ResultClass", false, F::ClassName, applyResultClass},
    {K::OpenAssociatorInstancePaths, "Role", false, F::Text, applyRole},
    {K::OpenAssociatorInstancePaths, "ResultRole", false, F::Text, applyResultRole},
    {K::OpenReferenceInstances, "InstanceName", true, F::InstanceName, applyInstanceName},
    {K::OpenReferenceInstances, "ResultClass", false, F::ClassName, applyResultClass},
    {K::OpenReferenceInstances, "Role", false, F::Text, applyRole},
    {K::OpenReferenceInstances, "IncludeClassOrigin", false, F::Text, applyIncludeClassOrigin},
    {K::OpenReferenceInstances, "PropertyList", false, F::TextArray, applyPropertyList},
    {K::OpenReferenceInstancePaths, "InstanceName", true, F::InstanceName, applyInstanceName},
    {K::OpenReferenceInstancePaths, "ResultClass", false, F::ClassName, applyResultClass},
    {K::OpenReferenceInstancePaths, "Role", false, F::Text, applyRole},
    // OpenQueryInstances' query is its own parameter, not a filter of another enumeration.
    {K::OpenQueryInstances, "FilterQueryLanguage", true, F::Text, applyQueryLanguage},
    {K::OpenQueryInstances, "FilterQuery", true, F::Text, applyQuery},
    {K::OpenQueryInstances, "ReturnQueryResultClass", false, F::Text, applyReturnQueryResultClass},
    {K::PullInstancesWithPath, "EnumerationContext", true, F::Text, applyEnumerationContext},
    {K::PullInstancesWithPath, "MaxObjectCount", true, F::Text, applyMaxObjectCount},
    {K::PullInstancePaths, "EnumerationContext", true, F::Text, applyEnumerationContext},
    {K::PullInstancePaths, "MaxObjectCount", true, F::Text, applyMaxObjectCount},
    {K::PullInstances, "EnumerationContext", true, F::Text, applyEnumerationContext},
    {K::PullInstances, "MaxObjectCount", true, F::Text, applyMaxObjectCount},
    {K::CloseEnumeration, "EnumerationContext", true, F::Text, applyEnumerationContext},
    {K::EnumerationCount, "EnumerationContext", true, F::Text, applyEnumerationContext},
};

constexpr std::size_t mostParametersOfOneMethod() {
    std::size_t most = 0;
    for (const ParameterRule& rule : kParameters) {
        std::size_t count = 0;
        for (const ParameterRule& other : kParameters) {
            count += other.kind == rule.kind ? 1 : 0;
        }
        most = count > most ? count : most;
    }
    return most + std::size(kOpenParameters);
}
static_assert(mostParametersOfOneMethod() <= kMaxParametersOfOneMethod,
              "GivenParameters must hold every parameter of a method");

bool isOpenOperation(OperationKind kind) {
    switch (kind) {
        case K::OpenEnumerateInstances:
        case K::OpenEnumerateInstancePaths:
        case K::OpenAssociatorInstances:
        case K::OpenAssociatorInstancePaths:
        case K::OpenReferenceInstances:
        case K::OpenReferenceInstancePaths:
        case K::OpenQueryInstances:
            return true;
        default:
            return false;
    }
}

}  // namespace

const ParameterRule* findParameter(OperationKind kind, std::string_view name) {
    for (const ParameterRule& expected : kParameters) {
        if (expected.kind == kind && cimp::equalsIgnoreCase(name, expected.name)) {
            return &expected;
        }
    }
    if (isOpenOperation(kind)) {
        for (const ParameterRule& common : kOpenParameters) {
            if (cimp::equalsIgnoreCase(name, common.name)) {
                return &common;
            }
        }
    }
    return nullptr;
}

bool GivenParameters::contains(const ParameterRule* rule) const {
    return std::find(rules_.begin(), rules_.begin() + count_, rule) != rules_.begin() + count_;
}

const ParameterRule* missingParameter(OperationKind kind, const GivenParameters& given) {
    for (const ParameterRule& expected : kParameters) {
        if (expected.kind == kind && expected.required && !given.contains(&expected)) {
            return &expected;
        }
    }
    return nullptr;
}

void applyDefaults(Operation& op) {
    switch (op.kind) {
        case K::GetClass:
        case K::EnumerateClasses:
            op.localOnly = true;
            op.includeQualifiers = true;
            break;
        case K::GetInstance:
            op.localOnly = true;
            break;
        case K::EnumerateInstances:
            op.localOnly = true;
            op.deepInheritance = true;
            break;
        case K::OpenEnumerateInstances:
            op.deepInheritance = true;
            break;
        case K::ModifyInstance:
            op.includeQualifiers = true;
            break;
        default:
            break;
    }
}

}  // namespace cimhost
