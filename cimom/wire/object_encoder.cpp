#include "cimom/wire/object_encoder.h"

#include <algorithm>
#include <utility>

#include "broker/cmpi_read.h"
#include "base/text_case.h"
#include "cimom/wire/value_text.h"

namespace cimhost {
namespace {

using cimp::equalsIgnoreCase;
using cimbroker::holdsNoValue;

const cimmof::Property* findProperty(const cimmof::ResolvedClass* cls, std::string_view name) {
    return cls == nullptr ? nullptr : cls->property(name);
}

// The schema's type for a property, "" when it declares none or declares a reference.
std::string_view declaredType(const cimmof::Property* declared) {
    const std::string_view type = declared == nullptr ? std::string_view() : declared->type;
    return type == "ref" ? std::string_view() : type;
}

std::string_view keyValueType(std::string_view cimType) {
    if (cimType == "boolean") {
        return "boolean";
    }
    if (cimType == "string" || cimType == "char16" || cimType == "datetime") {
        return "string";
    }
    return "numeric";
}

// A qualifier's CIM type: as declared, else guessed from its value.
std::string qualifierTypeName(const NamespaceSchema& schema, const cimmof::Qualifier& q) {
    const cimmof::QualifierType* type = schema.qualifierType(q.name);
    if (type != nullptr) {
        return type->type;
    }
    const bool boolean =
        !q.isArray && (equalsIgnoreCase(q.value, "true") || equalsIgnoreCase(q.value, "false"));
    return boolean ? "boolean" : "string";
}

std::string qualifierValueText(const std::string& type, const std::string& value) {
    if (type == "boolean") {
        return equalsIgnoreCase(value, "true") ? "TRUE" : "FALSE";
    }
    return value;
}

// Every element as `type` (null elements stay null); nullopt when one cannot be that type.
std::optional<std::vector<std::optional<TypedText>>> arrayTexts(
    const std::vector<CMPIData>& elements, std::string_view type) {
    std::vector<std::optional<TypedText>> texts;
    for (const CMPIData& e : elements) {
        if (holdsNoValue(e)) {
            texts.emplace_back();
            continue;
        }
        std::optional<TypedText> text = scalarText(e, type);
        if (!text || text->type != type) {
            return std::nullopt;
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

// The elements declaring a property or a method's parameter, by its form.
struct DeclarationElements {
    const char* plain;
    const char* array;
    const char* reference;
};
constexpr DeclarationElements kPropertyElements{"PROPERTY", "PROPERTY.ARRAY", "PROPERTY.REFERENCE"};
constexpr DeclarationElements kParameterElements{"PARAMETER", "PARAMETER.ARRAY",
                                                 "PARAMETER.REFERENCE"};

// Opens the element declaring `p`, named, with the class it refers to or its type.
void openDeclaration(XmlWriter& out, const cimmof::Property& p, const DeclarationElements& form) {
    if (p.type == "ref") {
        out.open(form.reference).attribute("NAME", p.name).attribute("REFERENCECLASS", p.refClass);
    } else {
        out.open(p.isArray ? form.array : form.plain).attribute("NAME", p.name);
        out.attribute("TYPE", p.type);
    }
}

}  // namespace

ObjectEncoder::ObjectEncoder(XmlWriter& out, const NamespaceSchema& schema, std::string host,
                             std::string nameSpace)
    : out_(out), schema_(schema), host_(std::move(host)), nameSpace_(std::move(nameSpace)) {}

void ObjectEncoder::instanceName(const CMPIObjectPath* path) {
    const std::string_view className = cimbroker::borrowClassName(path);
    const cimmof::ResolvedClass* declared = schema_.classes.resolve(className);
    out_.open("INSTANCENAME").attribute("CLASSNAME", className);
    for (const auto& key : cimbroker::borrowKeys(path)) {
        out_.open("KEYBINDING").attribute("NAME", key.first);
        keyValue(declared, key.first, key.second);
        out_.close();
    }
    out_.close();
}

void ObjectEncoder::keyValue(const cimmof::ResolvedClass* declared, std::string_view key,
                             const CMPIData& value) {
    if (value.type == CMPI_ref) {
        reference(value.value.ref);
        return;
    }
    const std::optional<TypedText> typed =
        scalarText(value, declaredType(findProperty(declared, key)));
    out_.open("KEYVALUE")
        .attribute("VALUETYPE", keyValueType(typed ? typed->type : "string"))
        .text(typed ? typed->text.view() : std::string_view())
        .close();
}

void ObjectEncoder::localNamespacePath(std::string_view nameSpace) {
    out_.open("LOCALNAMESPACEPATH");
    while (!nameSpace.empty()) {
        const std::size_t slash = nameSpace.find('/');
        const std::string_view segment = nameSpace.substr(0, slash);
        if (!segment.empty()) {
            out_.open("NAMESPACE").attribute("NAME", segment).close();
        }
        nameSpace.remove_prefix(slash == std::string_view::npos ? nameSpace.size() : slash + 1);
    }
    out_.close();
}

void ObjectEncoder::namespacePath(std::string_view host, std::string_view nameSpace) {
    out_.open("NAMESPACEPATH");
    out_.element("HOST", host.empty() ? std::string_view(host_) : host);
    localNamespacePath(nameSpace.empty() ? std::string_view(nameSpace_) : nameSpace);
    out_.close();
}

void ObjectEncoder::instancePath(const CMPIObjectPath* path) {
    out_.open("INSTANCEPATH");
    namespacePath(cimbroker::borrowHost(path), cimbroker::borrowNameSpace(path));
    instanceName(path);
    out_.close();
}

void ObjectEncoder::classPath(std::string_view className) {
    out_.open("CLASSPATH");
    namespacePath(host_, nameSpace_);
    out_.open("CLASSNAME").attribute("NAME", className).close();
    out_.close();
}

void ObjectEncoder::reference(const CMPIObjectPath* path) {
    const std::string_view host = cimbroker::borrowHost(path);
    const std::string_view nameSpace = cimbroker::borrowNameSpace(path);
    out_.open("VALUE.REFERENCE");
    if (nameSpace.empty()) {
        instanceName(path);
    } else if (host.empty()) {
        out_.open("LOCALINSTANCEPATH");
        localNamespacePath(nameSpace);
        instanceName(path);
        out_.close();
    } else {
        instancePath(path);
    }
    out_.close();
}

bool ObjectEncoder::selected(std::string_view property, const PropertySelection& selection) const {
    if (!selection.onlyOfClass.empty() &&
        findProperty(schema_.classes.resolve(selection.onlyOfClass), property) == nullptr) {
        return false;
    }
    if (selection.propertyList == nullptr || !*selection.propertyList) {
        return true;
    }
    const std::vector<std::string>& wanted = **selection.propertyList;
    return std::any_of(wanted.begin(), wanted.end(),
                       [property](const std::string& w) { return equalsIgnoreCase(w, property); });
}

void ObjectEncoder::instance(const CMPIInstance* inst, const PropertySelection& selection) {
    instance(inst, inst->ft->getObjectPath(inst, nullptr), selection);
}

void ObjectEncoder::instanceWithPath(const char* wrapper, const CMPIInstance* inst,
                                     const PropertySelection& selection, bool nameOnly) {
    const CMPIObjectPath* path = inst->ft->getObjectPath(inst, nullptr);
    out_.open(wrapper);
    if (nameOnly) {
        instanceName(path);
    } else {
        instancePath(path);
    }
    instance(inst, path, selection);
    out_.close();
}

void ObjectEncoder::instance(const CMPIInstance* inst, const CMPIObjectPath* path,
                             const PropertySelection& selection) {
    const std::string_view className = cimbroker::borrowClassName(path);
    const cimmof::ResolvedClass* declared = schema_.classes.resolve(className);
    out_.open("INSTANCE").attribute("CLASSNAME", className);
    for (const auto& named : cimbroker::borrowProperties(inst)) {
        if (!selected(named.first, selection)) {
            continue;
        }
        const cimmof::Property* decl = findProperty(declared, named.first);
        // Both arms are views: a std::string arm would make the result a temporary copy.
        const std::string_view classOrigin = (selection.includeClassOrigin && decl != nullptr)
                                                 ? std::string_view(decl->classOrigin)
                                                 : std::string_view();
        if (named.second.type == CMPI_ref) {
            referenceProperty(named.first, named.second, decl, classOrigin);
        } else if ((named.second.type & ~CMPI_ARRAY) == CMPI_instance) {
            embeddedProperty(named.first, named.second, classOrigin);
        } else if ((named.second.type & CMPI_ARRAY) != 0) {
            arrayProperty(named.first, named.second, declaredType(decl), classOrigin);
        } else {
            scalarProperty(named.first, named.second, declaredType(decl), classOrigin);
        }
    }
    out_.close();
}

void ObjectEncoder::referenceProperty(std::string_view name, const CMPIData& data,
                                      const cimmof::Property* decl, std::string_view classOrigin) {
    out_.open("PROPERTY.REFERENCE").attribute("NAME", name);
    out_.attributeIfAny("REFERENCECLASS", decl != nullptr ? decl->refClass : std::string_view());
    out_.attributeIfAny("CLASSORIGIN", classOrigin);
    if (!holdsNoValue(data) && data.value.ref != nullptr) {
        reference(data.value.ref);
    }
    out_.close();
}

std::string ObjectEncoder::embeddedInstanceText(const CMPIInstance* embedded) const {
    XmlWriter nested;
    ObjectEncoder(nested, schema_, host_, nameSpace_).instance(embedded, PropertySelection{});
    return nested.finish();
}

void ObjectEncoder::embeddedProperty(std::string_view name, const CMPIData& data,
                                     std::string_view classOrigin) {
    const bool isArray = (data.type & CMPI_ARRAY) != 0;
    out_.open(isArray ? "PROPERTY.ARRAY" : "PROPERTY").attribute("NAME", name);
    out_.attribute("TYPE", "string");
    out_.attributeIfAny("CLASSORIGIN", classOrigin);
    out_.attribute("EmbeddedObject", "instance");
    if (holdsNoValue(data)) {
        out_.close();
        return;
    }
    if (!isArray) {
        out_.element("VALUE", embeddedInstanceText(data.value.inst)).close();
        return;
    }
    out_.open("VALUE.ARRAY");
    for (const CMPIData& element : cimbroker::elementsOf(data.value.array)) {
        if (holdsNoValue(element) || element.value.inst == nullptr) {
            out_.open("VALUE.NULL").close();
        } else {
            out_.element("VALUE", embeddedInstanceText(element.value.inst));
        }
    }
    out_.close().close();
}

void ObjectEncoder::arrayProperty(std::string_view name, const CMPIData& data,
                                  std::string_view declared, std::string_view classOrigin) {
    const std::vector<CMPIData> elements =
        holdsNoValue(data) ? std::vector<CMPIData>() : cimbroker::elementsOf(data.value.array);
    std::string_view type = declared;
    std::optional<std::vector<std::optional<TypedText>>> texts = arrayTexts(elements, type);
    if (!texts) {
        type = cimTypeName(data.type);
        texts = arrayTexts(elements, type);
    }
    // CIM-XML has no property form for an array of references or of unnamed types.
    if (!texts || type.empty() || type == "reference") {
        return;
    }
    out_.open("PROPERTY.ARRAY").attribute("NAME", name).attribute("TYPE", type);
    out_.attributeIfAny("CLASSORIGIN", classOrigin);
    if (!holdsNoValue(data)) {
        out_.open("VALUE.ARRAY");
        for (const std::optional<TypedText>& text : *texts) {
            if (text) {
                out_.element("VALUE", text->text.view());
            } else {
                out_.open("VALUE.NULL").close();
            }
        }
        out_.close();
    }
    out_.close();
}

void ObjectEncoder::scalarProperty(std::string_view name, const CMPIData& data,
                                   std::string_view declared, std::string_view classOrigin) {
    const std::optional<TypedText> text = scalarText(data, declared);
    std::string_view type = text ? text->type : declared;
    if (type.empty()) {
        type = cimTypeName(data.type);
    }
    if (type.empty()) {
        return;
    }
    out_.open("PROPERTY").attribute("NAME", name).attribute("TYPE", type);
    out_.attributeIfAny("CLASSORIGIN", classOrigin);
    if (!holdsNoValue(data) && text) {
        out_.element("VALUE", text->text.view());
    }
    out_.close();
}

void ObjectEncoder::qualifiers(const std::vector<cimmof::Qualifier>& list) {
    for (const cimmof::Qualifier& q : list) {
        const std::string type = qualifierTypeName(schema_, q);
        out_.open("QUALIFIER").attribute("NAME", q.name).attribute("TYPE", type);
        qualifierValue(type, q.isArray, q.value, q.elements);
        out_.close();
    }
}

void ObjectEncoder::qualifierValue(const std::string& type, bool isArray, const std::string& value,
                                   const std::vector<std::string>& elements) {
    if (!isArray) {
        out_.element("VALUE", qualifierValueText(type, value));
        return;
    }
    out_.open("VALUE.ARRAY");
    for (const std::string& element : elements) {
        out_.element("VALUE", qualifierValueText(type, element));
    }
    out_.close();
}

void ObjectEncoder::memberOrigin(const std::string& origin, bool own,
                                 const std::vector<cimmof::Qualifier>& list,
                                 const PropertySelection& selection) {
    if (selection.includeClassOrigin) {
        out_.attribute("CLASSORIGIN", origin);
    }
    if (!own) {
        out_.attribute("PROPAGATED", "true");
    }
    if (selection.includeQualifiers) {
        qualifiers(list);
    }
}

void ObjectEncoder::classProperty(const cimmof::Property& p, bool own,
                                  const PropertySelection& selection) {
    openDeclaration(out_, p, kPropertyElements);
    if (p.type != "ref" && p.isArray && p.arraySize > 0) {
        out_.attribute("ARRAYSIZE", std::to_string(p.arraySize));
    }
    memberOrigin(p.classOrigin, own, p.qualifiers, selection);
    if (p.hasDefault && !p.isArray && p.type != "ref") {
        out_.element("VALUE", qualifierValueText(p.type, p.defaultValue));
    }
    out_.close();
}

void ObjectEncoder::classDeclaration(const cimmof::ClassDecl& cls,
                                     const PropertySelection& selection) {
    out_.open("CLASS").attribute("NAME", cls.name).attributeIfAny("SUPERCLASS", cls.superclass);
    if (selection.includeQualifiers) {
        qualifiers(cls.qualifiers);
    }
    const cimmof::ResolvedClass* resolved = schema_.classes.resolve(cls.name);
    for (const cimmof::Property& p : resolved->properties) {
        const bool own = equalsIgnoreCase(p.classOrigin, cls.name);
        if ((selection.localOnly && !own) || !selected(p.name, selection)) {
            continue;
        }
        classProperty(p, own, selection);
    }
    for (const cimmof::InheritedMethod& entry : resolved->methods) {
        const bool own = equalsIgnoreCase(entry.origin, cls.name);
        if (!selection.localOnly || own) {
            classMethod(entry, own, selection);
        }
    }
    out_.close();
}

void ObjectEncoder::classMethod(const cimmof::InheritedMethod& entry, bool own,
                                const PropertySelection& selection) {
    const cimmof::Method& m = entry.method;
    out_.open("METHOD").attribute("NAME", m.name).attribute("TYPE", m.returnType);
    memberOrigin(entry.origin, own, m.qualifiers, selection);
    for (const cimmof::Property& param : m.parameters) {
        openDeclaration(out_, param, kParameterElements);
        if (selection.includeQualifiers) {
            qualifiers(param.qualifiers);
        }
        out_.close();
    }
    out_.close();
}

void ObjectEncoder::qualifierDeclaration(const cimmof::QualifierType& type) {
    out_.open("QUALIFIER.DECLARATION").attribute("NAME", type.name).attribute("TYPE", type.type);
    out_.attribute("ISARRAY", type.isArray ? "true" : "false");
    const auto flavor = [&type](const char* name) {
        return std::any_of(type.flavors.begin(), type.flavors.end(),
                           [name](const std::string& f) { return equalsIgnoreCase(f, name); });
    };
    // DSP0201's defaults: overridable, propagated to subclasses, not translatable.
    out_.attribute("OVERRIDABLE", flavor("DisableOverride") ? "false" : "true");
    out_.attribute("TOSUBCLASS", flavor("Restricted") ? "false" : "true");
    out_.attribute("TRANSLATABLE", flavor("Translatable") ? "true" : "false");
    out_.open("SCOPE");
    const auto scoped = [&type](const char* name) {
        return std::any_of(type.scopes.begin(), type.scopes.end(),
                           [name](const std::string& s) { return s == name || s == "any"; });
    };
    static const std::pair<const char*, const char*> kScopes[] = {
        {"CLASS", "class"},          {"ASSOCIATION", "association"}, {"REFERENCE", "reference"},
        {"PROPERTY", "property"},    {"METHOD", "method"},           {"PARAMETER", "parameter"},
        {"INDICATION", "indication"}};
    for (const auto& scope : kScopes) {
        out_.attribute(scope.first, scoped(scope.second) ? "true" : "false");
    }
    out_.close();
    if (type.hasDefault) {
        qualifierValue(type.type, type.isArray, type.defaultValue, type.defaultElements);
    }
    out_.close();
}

}  // namespace cimhost
