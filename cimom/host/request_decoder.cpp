#include "cimom/host/request_decoder.h"

#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

#include "broker/text_case.h"

namespace cimhost {
namespace {

// The message breaks the CIM-XML DTD: HTTP 400, request-not-valid.
struct NotValid : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A parameter value is missing, repeated, unknown or of the wrong form: CIM_ERR_INVALID_PARAMETER.
struct BadParameter : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string trimmed(const std::string& text) {
    const char* const blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

const std::string& requiredAttribute(const XmlElement& e, const char* name) {
    const std::string* value = e.attribute(name);
    if (value == nullptr) {
        throw NotValid(e.name + " lacks attribute " + name);
    }
    return *value;
}

const XmlElement* firstChild(const XmlElement& e, const char* name) {
    for (const XmlElement& child : e.children) {
        if (child.name == name) {
            return &child;
        }
    }
    return nullptr;
}

const XmlElement& requiredChild(const XmlElement& e, const char* name) {
    const XmlElement* child = firstChild(e, name);
    if (child == nullptr) {
        throw NotValid(e.name + " lacks element " + name);
    }
    return *child;
}

// A parameter value must be the element `name`; `what` says what was expected.
void expectValue(const XmlElement& e, const char* name, const char* what) {
    if (e.name != name) {
        throw BadParameter(std::string("expected ") + what + ", got " + e.name);
    }
}

const XmlElement& onlyChild(const XmlElement& e) {
    if (e.children.size() != 1) {
        throw NotValid(e.name + " must hold exactly one element");
    }
    return e.children.front();
}

bool versionIs(const std::string& version, const char* major) {
    return version.rfind(major, 0) == 0;
}

std::string namespaceOf(const XmlElement& localNamespacePath) {
    std::string joined;
    for (const XmlElement& part : localNamespacePath.children) {
        if (part.name != "NAMESPACE") {
            throw NotValid("LOCALNAMESPACEPATH holds " + part.name);
        }
        if (!joined.empty()) {
            joined += '/';
        }
        joined += requiredAttribute(part, "NAME");
    }
    if (joined.empty()) {
        throw NotValid("LOCALNAMESPACEPATH names no namespace");
    }
    return joined;
}

ObjectName parseInstanceName(const XmlElement& e);

// VALUE.REFERENCE naming an instance, with or without host and namespace.
std::shared_ptr<const ObjectName> parseValueReference(const XmlElement& e) {
    const XmlElement& target = onlyChild(e);
    ObjectName name;
    if (target.name == "INSTANCENAME") {
        name = parseInstanceName(target);
    } else if (target.name == "LOCALINSTANCEPATH") {
        name = parseInstanceName(requiredChild(target, "INSTANCENAME"));
        name.nameSpace = namespaceOf(requiredChild(target, "LOCALNAMESPACEPATH"));
    } else if (target.name == "INSTANCEPATH") {
        const XmlElement& nsPath = requiredChild(target, "NAMESPACEPATH");
        name = parseInstanceName(requiredChild(target, "INSTANCENAME"));
        name.host = trimmed(requiredChild(nsPath, "HOST").text);
        name.nameSpace = namespaceOf(requiredChild(nsPath, "LOCALNAMESPACEPATH"));
    } else {
        throw BadParameter("a reference to " + target.name + " does not name an instance");
    }
    return std::make_shared<const ObjectName>(std::move(name));
}

KeyValue parseKeyValue(const XmlElement& e) {
    KeyValue value;
    if (e.name == "VALUE.REFERENCE") {
        value.type = KeyValue::Type::Reference;
        value.reference = parseValueReference(e);
        return value;
    }
    if (e.name != "KEYVALUE") {
        throw NotValid("KEYBINDING holds " + e.name);
    }
    const std::string* valueType = e.attribute("VALUETYPE");
    const std::string type = valueType == nullptr ? "string" : *valueType;
    if (type == "string") {
        value.type = KeyValue::Type::String;
        value.text = e.text;
    } else if (type == "boolean") {
        value.type = KeyValue::Type::Boolean;
        value.text = trimmed(e.text);
    } else if (type == "numeric") {
        value.type = KeyValue::Type::Numeric;
        value.text = trimmed(e.text);
    } else {
        throw NotValid("KEYVALUE has VALUETYPE \"" + type + "\"");
    }
    return value;
}

ObjectName parseInstanceName(const XmlElement& e) {
    expectValue(e, "INSTANCENAME", "an instance name");
    ObjectName name;
    name.className = requiredAttribute(e, "CLASSNAME");
    for (const XmlElement& binding : e.children) {
        if (binding.name != "KEYBINDING") {
            throw BadParameter("instance names are accepted with KEYBINDINGs only");
        }
        name.keys.push_back(
            KeyBinding{requiredAttribute(binding, "NAME"), parseKeyValue(onlyChild(binding))});
    }
    return name;
}

std::string parseClassName(const XmlElement& e) {
    expectValue(e, "CLASSNAME", "a class name");
    return requiredAttribute(e, "NAME");
}

std::string parseString(const XmlElement& e) {
    expectValue(e, "VALUE", "a VALUE");
    return e.text;
}

bool parseBoolean(const XmlElement& e) {
    const std::string text = trimmed(parseString(e));
    if (cimbroker::equalsIgnoreCase(text, "true")) {
        return true;
    }
    if (cimbroker::equalsIgnoreCase(text, "false")) {
        return false;
    }
    throw BadParameter("\"" + text + "\" is not a boolean");
}

std::uint32_t parseUint32(const XmlElement& e) {
    const std::string text = trimmed(parseString(e));
    constexpr std::size_t kMaxDigits = 10;
    std::uint64_t value = 0;
    bool digits = !text.empty() && text.size() <= kMaxDigits;
    for (char c : text) {
        digits = digits && c >= '0' && c <= '9';
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (!digits || value > UINT32_MAX) {
        throw BadParameter("\"" + text + "\" is not a uint32");
    }
    return static_cast<std::uint32_t>(value);
}

std::vector<std::string> parseStringArray(const XmlElement& e) {
    expectValue(e, "VALUE.ARRAY", "a VALUE.ARRAY");
    std::vector<std::string> values;
    for (const XmlElement& item : e.children) {
        values.push_back(parseString(item));
    }
    return values;
}

PropertyValue parseProperty(const XmlElement& e) {
    PropertyValue property;
    property.name = requiredAttribute(e, "NAME");
    const XmlElement* value = e.children.empty() ? nullptr : &e.children.back();
    if (value != nullptr && value->name == "QUALIFIER") {
        value = nullptr;
    }
    property.isNull = value == nullptr;
    if (e.name == "PROPERTY.REFERENCE") {
        property.type = "reference";
        if (value != nullptr) {
            property.reference = parseValueReference(*value);
        }
        return property;
    }
    property.type = requiredAttribute(e, "TYPE");
    property.isArray = e.name == "PROPERTY.ARRAY";
    if (value == nullptr) {
        return property;
    }
    if (property.isArray) {
        property.values = parseStringArray(*value);
    } else {
        property.values.push_back(parseString(*value));
    }
    return property;
}

InstanceValue parseInstance(const XmlElement& e) {
    expectValue(e, "INSTANCE", "an INSTANCE");
    InstanceValue instance;
    instance.className = requiredAttribute(e, "CLASSNAME");
    for (const XmlElement& child : e.children) {
        if (child.name == "PROPERTY" || child.name == "PROPERTY.ARRAY" ||
            child.name == "PROPERTY.REFERENCE") {
            instance.properties.push_back(parseProperty(child));
        } else if (child.name != "QUALIFIER") {
            throw NotValid("INSTANCE holds " + child.name);
        }
    }
    return instance;
}

// One parameter a method accepts: how its value is read into the Operation. `value` is null
// for a NULL (empty) IPARAMVALUE.
using ApplyParameter = void (*)(Operation& op, const XmlElement* value);

struct ParameterSpec {
    OperationKind kind;
    const char* name;
    bool required;
    ApplyParameter apply;
};

void applyClassName(Operation& op, const XmlElement* v) {
    op.className = v == nullptr ? "" : parseClassName(*v);
}
void applyInstanceName(Operation& op, const XmlElement* v) {
    if (v != nullptr) {
        op.objectName = parseInstanceName(*v);
    }
}
// An instance name, or a class name for the class-level form of the association operations.
void applyObjectName(Operation& op, const XmlElement* v) {
    if (v != nullptr && v->name == "CLASSNAME") {
        op.className = parseClassName(*v);
    } else {
        applyInstanceName(op, v);
    }
}
void applyAssocClass(Operation& op, const XmlElement* v) {
    op.assocClass = v == nullptr ? "" : parseClassName(*v);
}
void applyResultClass(Operation& op, const XmlElement* v) {
    op.resultClass = v == nullptr ? "" : parseClassName(*v);
}
void applyRole(Operation& op, const XmlElement* v) {
    op.role = v == nullptr ? "" : parseString(*v);
}
void applyResultRole(Operation& op, const XmlElement* v) {
    op.resultRole = v == nullptr ? "" : parseString(*v);
}
void applyLocalOnly(Operation& op, const XmlElement* v) {
    op.localOnly = v == nullptr ? op.localOnly : parseBoolean(*v);
}
void applyDeepInheritance(Operation& op, const XmlElement* v) {
    op.deepInheritance = v == nullptr ? op.deepInheritance : parseBoolean(*v);
}
void applyIncludeQualifiers(Operation& op, const XmlElement* v) {
    op.includeQualifiers = v == nullptr ? op.includeQualifiers : parseBoolean(*v);
}
void applyIncludeClassOrigin(Operation& op, const XmlElement* v) {
    op.includeClassOrigin = v == nullptr ? op.includeClassOrigin : parseBoolean(*v);
}
void applyPropertyList(Operation& op, const XmlElement* v) {
    if (v == nullptr) {
        op.propertyList.reset();
    } else {
        op.propertyList = parseStringArray(*v);
    }
}
void applyNewInstance(Operation& op, const XmlElement* v) {
    if (v != nullptr) {
        op.instance = parseInstance(*v);
    }
}
void applyModifiedInstance(Operation& op, const XmlElement* v) {
    if (v == nullptr) {
        return;
    }
    expectValue(*v, "VALUE.NAMEDINSTANCE", "a VALUE.NAMEDINSTANCE");
    op.objectName = parseInstanceName(requiredChild(*v, "INSTANCENAME"));
    op.instance = parseInstance(requiredChild(*v, "INSTANCE"));
}
void applyQueryLanguage(Operation& op, const XmlElement* v) {
    op.queryLanguage = v == nullptr ? "" : parseString(*v);
}
void applyQuery(Operation& op, const XmlElement* v) {
    op.query = v == nullptr ? "" : parseString(*v);
}

void applyQualifierName(Operation& op, const XmlElement* v) {
    op.qualifierName = v == nullptr ? "" : parseString(*v);
}
void applyEnumerationContext(Operation& op, const XmlElement* v) {
    op.enumerationContext =
        v == nullptr ? std::nullopt : std::optional<std::string>(parseString(*v));
}
void applyMaxObjectCount(Operation& op, const XmlElement* v) {
    op.maxObjectCount = v == nullptr ? std::nullopt : std::optional<std::uint32_t>(parseUint32(*v));
}
void applyOperationTimeout(Operation& op, const XmlElement* v) {
    op.operationTimeout =
        v == nullptr ? std::nullopt : std::optional<std::uint32_t>(parseUint32(*v));
}
void applyContinueOnError(Operation& op, const XmlElement* v) {
    op.continueOnError = v == nullptr ? op.continueOnError : parseBoolean(*v);
}
void applyFilterQueryLanguage(Operation& op, const XmlElement* v) {
    op.filterQueryLanguage =
        v == nullptr ? std::nullopt : std::optional<std::string>(parseString(*v));
}
void applyFilterQuery(Operation& op, const XmlElement* v) {
    op.filterQuery = v == nullptr ? std::nullopt : std::optional<std::string>(parseString(*v));
}

using K = OperationKind;

// Parameters every open operation takes besides its own.
const ParameterSpec kOpenParameters[] = {
    {K::Unsupported, "FilterQueryLanguage", false, applyFilterQueryLanguage},
    {K::Unsupported, "FilterQuery", false, applyFilterQuery},
    {K::Unsupported, "OperationTimeout", false, applyOperationTimeout},
    {K::Unsupported, "ContinueOnError", false, applyContinueOnError},
    {K::Unsupported, "MaxObjectCount", false, applyMaxObjectCount},
};

const ParameterSpec kParameters[] = {
    {K::GetClass, "ClassName", true, applyClassName},
    {K::GetClass, "LocalOnly", false, applyLocalOnly},
    {K::GetClass, "IncludeQualifiers", false, applyIncludeQualifiers},
    {K::GetClass, "IncludeClassOrigin", false, applyIncludeClassOrigin},
    {K::GetClass, "PropertyList", false, applyPropertyList},
    {K::EnumerateClasses, "ClassName", false, applyClassName},
    {K::EnumerateClasses, "DeepInheritance", false, applyDeepInheritance},
    {K::EnumerateClasses, "LocalOnly", false, applyLocalOnly},
    {K::EnumerateClasses, "IncludeQualifiers", false, applyIncludeQualifiers},
    {K::EnumerateClasses, "IncludeClassOrigin", false, applyIncludeClassOrigin},
    {K::EnumerateClassNames, "ClassName", false, applyClassName},
    {K::EnumerateClassNames, "DeepInheritance", false, applyDeepInheritance},
    {K::GetInstance, "InstanceName", true, applyInstanceName},
    {K::GetInstance, "LocalOnly", false, applyLocalOnly},
    {K::GetInstance, "IncludeQualifiers", false, applyIncludeQualifiers},
    {K::GetInstance, "IncludeClassOrigin", false, applyIncludeClassOrigin},
    {K::GetInstance, "PropertyList", false, applyPropertyList},
    {K::EnumerateInstances, "ClassName", true, applyClassName},
    {K::EnumerateInstances, "LocalOnly", false, applyLocalOnly},
    {K::EnumerateInstances, "DeepInheritance", false, applyDeepInheritance},
    {K::EnumerateInstances, "IncludeQualifiers", false, applyIncludeQualifiers},
    {K::EnumerateInstances, "IncludeClassOrigin", false, applyIncludeClassOrigin},
    {K::EnumerateInstances, "PropertyList", false, applyPropertyList},
    {K::EnumerateInstanceNames, "ClassName", true, applyClassName},
    {K::Associators, "ObjectName", true, applyObjectName},
    {K::Associators, "AssocClass", false, applyAssocClass},
    {K::Associators, "ResultClass", false, applyResultClass},
    {K::Associators, "Role", false, applyRole},
    {K::Associators, "ResultRole", false, applyResultRole},
    {K::Associators, "IncludeQualifiers", false, applyIncludeQualifiers},
    {K::Associators, "IncludeClassOrigin", false, applyIncludeClassOrigin},
    {K::Associators, "PropertyList", false, applyPropertyList},
    {K::AssociatorNames, "ObjectName", true, applyObjectName},
    {K::AssociatorNames, "AssocClass", false, applyAssocClass},
    {K::AssociatorNames, "ResultClass", false, applyResultClass},
    {K::AssociatorNames, "Role", false, applyRole},
    {K::AssociatorNames, "ResultRole", false, applyResultRole},
    {K::References, "ObjectName", true, applyObjectName},
    {K::References, "ResultClass", false, applyResultClass},
    {K::References, "Role", false, applyRole},
    {K::References, "IncludeQualifiers", false, applyIncludeQualifiers},
    {K::References, "IncludeClassOrigin", false, applyIncludeClassOrigin},
    {K::References, "PropertyList", false, applyPropertyList},
    {K::ReferenceNames, "ObjectName", true, applyObjectName},
    {K::ReferenceNames, "ResultClass", false, applyResultClass},
    {K::ReferenceNames, "Role", false, applyRole},
    {K::CreateInstance, "NewInstance", true, applyNewInstance},
    {K::ModifyInstance, "ModifiedInstance", true, applyModifiedInstance},
    {K::ModifyInstance, "IncludeQualifiers", false, applyIncludeQualifiers},
    {K::ModifyInstance, "PropertyList", false, applyPropertyList},
    {K::DeleteInstance, "InstanceName", true, applyInstanceName},
    {K::ExecQuery, "QueryLanguage", true, applyQueryLanguage},
    {K::ExecQuery, "Query", true, applyQuery},
    {K::GetQualifier, "QualifierName", true, applyQualifierName},
    {K::OpenEnumerateInstances, "ClassName", true, applyClassName},
    {K::OpenEnumerateInstances, "DeepInheritance", false, applyDeepInheritance},
    {K::OpenEnumerateInstances, "IncludeClassOrigin", false, applyIncludeClassOrigin},
    {K::OpenEnumerateInstances, "PropertyList", false, applyPropertyList},
    {K::OpenEnumerateInstancePaths, "ClassName", true, applyClassName},
    {K::OpenAssociatorInstances, "InstanceName", true, applyInstanceName},
    {K::OpenAssociatorInstances, "AssocClass", false, applyAssocClass},
    {K::OpenAssociatorInstances, "ResultClass", false, applyResultClass},
    {K::OpenAssociatorInstances, "Role", false, applyRole},
    {K::OpenAssociatorInstances, "ResultRole", false, applyResultRole},
    {K::OpenAssociatorInstances, "IncludeClassOrigin", false, applyIncludeClassOrigin},
    {K::OpenAssociatorInstances, "PropertyList", false, applyPropertyList},
    {K::OpenAssociatorInstancePaths, "InstanceName", true, applyInstanceName},
    {K::OpenAssociatorInstancePaths, "AssocClass", false, applyAssocClass},
    {K::OpenAssociatorInstancePaths, "ResultClass", false, applyResultClass},
    {K::OpenAssociatorInstancePaths, "Role", false, applyRole},
    {K::OpenAssociatorInstancePaths, "ResultRole", false, applyResultRole},
    {K::OpenReferenceInstances, "InstanceName", true, applyInstanceName},
    {K::OpenReferenceInstances, "ResultClass", false, applyResultClass},
    {K::OpenReferenceInstances, "Role", false, applyRole},
    {K::OpenReferenceInstances, "IncludeClassOrigin", false, applyIncludeClassOrigin},
    {K::OpenReferenceInstances, "PropertyList", false, applyPropertyList},
    {K::OpenReferenceInstancePaths, "InstanceName", true, applyInstanceName},
    {K::OpenReferenceInstancePaths, "ResultClass", false, applyResultClass},
    {K::OpenReferenceInstancePaths, "Role", false, applyRole},
    {K::PullInstancesWithPath, "EnumerationContext", true, applyEnumerationContext},
    {K::PullInstancesWithPath, "MaxObjectCount", true, applyMaxObjectCount},
    {K::PullInstancePaths, "EnumerationContext", true, applyEnumerationContext},
    {K::PullInstancePaths, "MaxObjectCount", true, applyMaxObjectCount},
    {K::CloseEnumeration, "EnumerationContext", true, applyEnumerationContext},
    {K::EnumerationCount, "EnumerationContext", true, applyEnumerationContext},
};

bool isOpenOperation(OperationKind kind) {
    switch (kind) {
        case K::OpenEnumerateInstances:
        case K::OpenEnumerateInstancePaths:
        case K::OpenAssociatorInstances:
        case K::OpenAssociatorInstancePaths:
        case K::OpenReferenceInstances:
        case K::OpenReferenceInstancePaths:
            return true;
        default:
            return false;
    }
}

const ParameterSpec* findParameter(OperationKind kind, const std::string& name) {
    for (const ParameterSpec& expected : kParameters) {
        if (expected.kind == kind && cimbroker::equalsIgnoreCase(name, expected.name)) {
            return &expected;
        }
    }
    if (isOpenOperation(kind)) {
        for (const ParameterSpec& common : kOpenParameters) {
            if (cimbroker::equalsIgnoreCase(name, common.name)) {
                return &common;
            }
        }
    }
    return nullptr;
}

// The defaults DSP0200 gives the flags a request leaves out.
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

void decodeParameters(const XmlElement& call, Operation& op) {
    std::vector<const ParameterSpec*> seen;
    for (const XmlElement& param : call.children) {
        if (param.name == "LOCALNAMESPACEPATH") {
            continue;
        }
        if (param.name != "IPARAMVALUE") {
            throw NotValid("IMETHODCALL holds " + param.name);
        }
        const std::string& name = requiredAttribute(param, "NAME");
        const ParameterSpec* expected = findParameter(op.kind, name);
        if (expected == nullptr) {
            throw BadParameter(op.method + " has no parameter " + name);
        }
        for (const ParameterSpec* earlier : seen) {
            if (earlier == expected) {
                throw BadParameter("parameter " + name + " given twice");
            }
        }
        seen.push_back(expected);
        if (param.children.size() > 1) {
            throw BadParameter("parameter " + name + " holds more than one value");
        }
        const XmlElement* value = param.children.empty() ? nullptr : &param.children.front();
        if (value == nullptr && expected->required) {
            throw BadParameter("parameter " + name + " must not be NULL");
        }
        expected->apply(op, value);
    }
    for (const ParameterSpec& expected : kParameters) {
        if (expected.kind != op.kind || !expected.required) {
            continue;
        }
        bool given = false;
        for (const ParameterSpec* s : seen) {
            given = given || s == &expected;
        }
        if (!given) {
            throw BadParameter(op.method + " needs parameter " + expected.name);
        }
    }
}

void decodeIntrinsicCall(const XmlElement& call, DecodedRequest& out) {
    Operation& op = out.operation;
    op.method = requiredAttribute(call, "NAME");
    op.kind = operationKindFromName(op.method);
    op.nameSpace = namespaceOf(requiredChild(call, "LOCALNAMESPACEPATH"));
    if (op.kind == K::Unsupported) {
        out.status = Status::notSupported("intrinsic method " + op.method + " is not supported");
        return;
    }
    applyDefaults(op);
    try {
        decodeParameters(call, op);
    } catch (const BadParameter& e) {
        out.status = Status::invalidParameter(e.what());
    }
}

// Extrinsic methods are recognised so they can be answered in kind, but none is offered.
void decodeMethodCall(const XmlElement& call, DecodedRequest& out) {
    Operation& op = out.operation;
    op.method = requiredAttribute(call, "NAME");
    op.extrinsic = true;
    for (const XmlElement& child : call.children) {
        if (child.name == "LOCALINSTANCEPATH" || child.name == "LOCALCLASSPATH") {
            op.nameSpace = namespaceOf(requiredChild(child, "LOCALNAMESPACEPATH"));
        }
    }
    out.status = Status::notSupported("extrinsic method " + op.method + " is not supported");
}

void decodeMessage(const XmlElement& root, DecodedRequest& out) {
    if (root.name != "CIM") {
        throw NotValid("the root element is " + root.name + ", not CIM");
    }
    if (!versionIs(requiredAttribute(root, "CIMVERSION"), "2.")) {
        out.protocolError = ProtocolError{"unsupported-cim-version", "CIMVERSION is not 2.x"};
        return;
    }
    if (!versionIs(requiredAttribute(root, "DTDVERSION"), "2.")) {
        out.protocolError = ProtocolError{"unsupported-dtd-version", "DTDVERSION is not 2.x"};
        return;
    }
    const XmlElement& message = onlyChild(root);
    if (message.name != "MESSAGE") {
        throw NotValid("CIM holds " + message.name + ", not MESSAGE");
    }
    out.operation.messageId = requiredAttribute(message, "ID");
    if (!versionIs(requiredAttribute(message, "PROTOCOLVERSION"), "1.")) {
        out.protocolError =
            ProtocolError{"unsupported-protocol-version", "PROTOCOLVERSION is not 1.x"};
        return;
    }
    const XmlElement& request = onlyChild(message);
    if (request.name == "MULTIREQ") {
        out.protocolError =
            ProtocolError{"multiple-requests-unsupported", "MULTIREQ is not supported"};
        return;
    }
    if (request.name != "SIMPLEREQ") {
        throw NotValid("MESSAGE holds " + request.name + ", not a request");
    }
    const XmlElement& call = onlyChild(request);
    if (call.name == "IMETHODCALL") {
        decodeIntrinsicCall(call, out);
    } else if (call.name == "METHODCALL") {
        decodeMethodCall(call, out);
    } else {
        throw NotValid("SIMPLEREQ holds " + call.name);
    }
}

}  // namespace

DecodedRequest decodeRequest(const XmlElement& root) {
    DecodedRequest out;
    try {
        decodeMessage(root, out);
    } catch (const NotValid& e) {
        out.protocolError = ProtocolError{"request-not-valid", e.what()};
    }
    return out;
}

}  // namespace cimhost
