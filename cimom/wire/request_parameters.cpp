#include "cimom/wire/request_parameters.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <utility>

#include "base/text.h"
#include "base/text_case.h"

namespace cimhost {

using cimp::trimmed;

namespace {

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
    if (v == nullptr) {
        return Status();
    }
    const std::string text = trimmed(v->text);
    if (!cimp::equalsIgnoreCase(text, "true") && !cimp::equalsIgnoreCase(text, "false")) {
        return Status::invalidParameter("\"" + text + "\" is not a boolean");
    }
    op.*field = cimp::equalsIgnoreCase(text, "true");
    return Status();
}
template <std::optional<std::uint32_t> Operation::*field>
Status uint32(Operation& op, ParameterValue* v) {
    if (v == nullptr) {
        (op.*field).reset();
        return Status();
    }
    const std::string text = trimmed(v->text);
    // Ten digits at most, leading zeros included.
    constexpr std::size_t kMaxDigits = 10;
    const char* end = text.data() + text.size();
    std::uint32_t value = 0;
    const std::from_chars_result read = std::from_chars(text.data(), end, value);
    if (text.size() > kMaxDigits || read.ec != std::errc() || read.ptr != end) {
        return Status::invalidParameter("\"" + text + "\" is not a uint32");
    }
    op.*field = value;
    return Status();
}

Status applyInstanceName(Operation& op, ParameterValue* v) {
    if (v != nullptr) {
        op.objectName = std::move(v->name);
    }
    return Status();
}
// An instance name, or a class name for the class-level form of the association operations.
Status applyObjectName(Operation& op, ParameterValue* v) {
    return v != nullptr && v->isClassName ? text<&Operation::className>(op, v)
                                          : applyInstanceName(op, v);
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

// A namespace of their own: a unity build shares short names such as kClassName with the room.
using K = OperationKind;

namespace parameters {

using F = ValueForm;
using O = Operation;

constexpr ParameterRule kClassName{"ClassName", F::ClassName, text<&O::className>};
constexpr ParameterRule kObjectName{"ObjectName", F::ObjectName, applyObjectName};
constexpr ParameterRule kInstanceName{"InstanceName", F::InstanceName, applyInstanceName};
constexpr ParameterRule kAssocClass{"AssocClass", F::ClassName, text<&O::assocClass>};
constexpr ParameterRule kResultClass{"ResultClass", F::ClassName, text<&O::resultClass>};
constexpr ParameterRule kRole{"Role", F::Text, text<&O::role>};
constexpr ParameterRule kResultRole{"ResultRole", F::Text, text<&O::resultRole>};
constexpr ParameterRule kLocalOnly{"LocalOnly", F::Text, boolean<&O::localOnly>};
constexpr ParameterRule kDeepInheritance{"DeepInheritance", F::Text, boolean<&O::deepInheritance>};
constexpr ParameterRule kIncludeQualifiers{"IncludeQualifiers", F::Text,
                                           boolean<&O::includeQualifiers>};
constexpr ParameterRule kIncludeClassOrigin{"IncludeClassOrigin", F::Text,
                                            boolean<&O::includeClassOrigin>};
constexpr ParameterRule kPropertyList{"PropertyList", F::TextArray, applyPropertyList};
constexpr ParameterRule kNewInstance{"NewInstance", F::Instance, applyNewInstance};
constexpr ParameterRule kModifiedInstance{"ModifiedInstance", F::NamedInstance,
                                          applyModifiedInstance};
constexpr ParameterRule kQueryLanguage{"QueryLanguage", F::Text, text<&O::queryLanguage>};
constexpr ParameterRule kQuery{"Query", F::Text, text<&O::query>};
constexpr ParameterRule kQualifierName{"QualifierName", F::Text, text<&O::qualifierName>};
constexpr ParameterRule kEnumerationContext{"EnumerationContext", F::Text,
                                            optionalText<&O::enumerationContext>};
constexpr ParameterRule kMaxObjectCount{"MaxObjectCount", F::Text, uint32<&O::maxObjectCount>};
// OpenQueryInstances' query is its own parameter, not a filter of another enumeration.
constexpr ParameterRule kOwnFilterQueryLanguage{"FilterQueryLanguage", F::Text,
                                                text<&O::queryLanguage>};
constexpr ParameterRule kOwnFilterQuery{"FilterQuery", F::Text, text<&O::query>};
constexpr ParameterRule kReturnQueryResultClass{"ReturnQueryResultClass", F::Text,
                                                boolean<&O::returnQueryResultClass>};

// Parameters every open operation takes besides its own.
constexpr ParameterRule kOpenParameters[] = {
    {"FilterQueryLanguage", F::Text, optionalText<&O::filterQueryLanguage>},
    {"FilterQuery", F::Text, optionalText<&O::filterQuery>},
    {"OperationTimeout", F::Text, uint32<&O::operationTimeout>},
    {"ContinueOnError", F::Text, boolean<&O::continueOnError>},
    {"MaxObjectCount", F::Text, uint32<&O::maxObjectCount>},
};

// The parameters of one method, in the order a missing required one is looked for.
struct MethodParameters {
    OperationKind kind;
    std::array<const ParameterRule*, 2> required;
    std::array<const ParameterRule*, 7> optional;
    bool opens = false;  // an open operation, which takes kOpenParameters too
};

constexpr MethodParameters kMethods[] = {
    {K::GetClass,
     {&kClassName},
     {&kLocalOnly, &kIncludeQualifiers, &kIncludeClassOrigin, &kPropertyList}},
    {K::EnumerateClasses,
     {},
     {&kClassName, &kDeepInheritance, &kLocalOnly, &kIncludeQualifiers, &kIncludeClassOrigin}},
    {K::EnumerateClassNames, {}, {&kClassName, &kDeepInheritance}},
    {K::GetInstance,
     {&kInstanceName},
     {&kLocalOnly, &kIncludeQualifiers, &kIncludeClassOrigin, &kPropertyList}},
    {K::EnumerateInstances,
     {&kClassName},
     {&kLocalOnly, &kDeepInheritance, &kIncludeQualifiers, &kIncludeClassOrigin, &kPropertyList}},
    {K::EnumerateInstanceNames, {&kClassName}, {}},
    {K::Associators,
     {&kObjectName},
     {&kAssocClass, &kResultClass, &kRole, &kResultRole, &kIncludeQualifiers, &kIncludeClassOrigin,
      &kPropertyList}},
    {K::AssociatorNames, {&kObjectName}, {&kAssocClass, &kResultClass, &kRole, &kResultRole}},
    {K::References,
     {&kObjectName},
     {&kResultClass, &kRole, &kIncludeQualifiers, &kIncludeClassOrigin, &kPropertyList}},
    {K::ReferenceNames, {&kObjectName}, {&kResultClass, &kRole}},
    {K::CreateInstance, {&kNewInstance}, {}},
    {K::ModifyInstance, {&kModifiedInstance}, {&kIncludeQualifiers, &kPropertyList}},
    {K::DeleteInstance, {&kInstanceName}, {}},
    {K::ExecQuery, {&kQueryLanguage, &kQuery}, {}},
    {K::GetQualifier, {&kQualifierName}, {}},
    {K::OpenEnumerateInstances,
     {&kClassName},
     {&kDeepInheritance, &kIncludeClassOrigin, &kPropertyList},
     true},
    {K::OpenEnumerateInstancePaths, {&kClassName}, {}, true},
    {K::OpenAssociatorInstances,
     {&kInstanceName},
     {&kAssocClass, &kResultClass, &kRole, &kResultRole, &kIncludeClassOrigin, &kPropertyList},
     true},
    {K::OpenAssociatorInstancePaths,
     {&kInstanceName},
     {&kAssocClass, &kResultClass, &kRole, &kResultRole},
     true},
    {K::OpenReferenceInstances,
     {&kInstanceName},
     {&kResultClass, &kRole, &kIncludeClassOrigin, &kPropertyList},
     true},
    {K::OpenReferenceInstancePaths, {&kInstanceName}, {&kResultClass, &kRole}, true},
    {K::OpenQueryInstances,
     {&kOwnFilterQueryLanguage, &kOwnFilterQuery},
     {&kReturnQueryResultClass},
     true},
    {K::PullInstancesWithPath, {&kEnumerationContext, &kMaxObjectCount}, {}},
    {K::PullInstancePaths, {&kEnumerationContext, &kMaxObjectCount}, {}},
    {K::PullInstances, {&kEnumerationContext, &kMaxObjectCount}, {}},
    {K::CloseEnumeration, {&kEnumerationContext}, {}},
    {K::EnumerationCount, {&kEnumerationContext}, {}},
};

}  // namespace parameters

using parameters::kMethods;
using parameters::kOpenParameters;
using parameters::MethodParameters;

static_assert(2 + 7 + std::size(kOpenParameters) <= kMaxParametersOfOneMethod,
              "GivenParameters must hold every parameter of a method");

const MethodParameters* methodOf(OperationKind kind) {
    const auto found = std::find_if(std::begin(kMethods), std::end(kMethods),
                                    [kind](const MethodParameters& m) { return m.kind == kind; });
    return found == std::end(kMethods) ? nullptr : found;
}

bool named(const ParameterRule* rule, std::string_view name) {
    return rule != nullptr && cimp::equalsIgnoreCase(name, rule->name);
}

}  // namespace

MethodParameter findParameter(OperationKind kind, std::string_view name) {
    const MethodParameters* method = methodOf(kind);
    if (method == nullptr) {
        return {};
    }
    for (const ParameterRule* rule : method->required) {
        if (named(rule, name)) {
            return {rule, true};
        }
    }
    for (const ParameterRule* rule : method->optional) {
        if (named(rule, name)) {
            return {rule, false};
        }
    }
    for (const ParameterRule& common : kOpenParameters) {
        if (method->opens && named(&common, name)) {
            return {&common, false};
        }
    }
    return {};
}

bool GivenParameters::contains(const ParameterRule* rule) const {
    return std::find(rules_.begin(), rules_.begin() + count_, rule) != rules_.begin() + count_;
}

const ParameterRule* missingParameter(OperationKind kind, const GivenParameters& given) {
    const MethodParameters* method = methodOf(kind);
    if (method == nullptr) {
        return nullptr;
    }
    for (const ParameterRule* rule : method->required) {
        if (rule != nullptr && !given.contains(rule)) {
            return rule;
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
