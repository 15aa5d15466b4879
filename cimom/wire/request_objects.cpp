#include "cimom/wire/request_objects.h"

#include <cstdlib>

#include "base/text_case.h"
#include "broker/cmpi_number.h"
#include "cimom/wire/value_text.h"

namespace cimhost {
namespace {

// Nested references are bounded by the XML depth limit already; this bounds the recursion too.
constexpr int kMaxReferenceDepth = 8;

// The type a request's value of CIM type `cimType` is read as: a string as its own text; null
// for a reference, which a request gives as a name, not as text.
CMPIType typeCode(std::string_view cimType) {
    const CMPIType type = cimTypeCode(cimType);
    return type == CMPI_string ? CMPI_chars : type == CMPI_ref ? CMPI_null : type;
}

// `text` as a value of `type`; false when it is not one. Strings point into `text`.
bool toValue(const CMPIBroker* broker, const std::string& text, CMPIType type, CMPIValue& out) {
    if (type == CMPI_chars) {
        out.chars = const_cast<char*>(text.c_str());
        return true;
    }
    if (type == CMPI_boolean) {
        const bool isTrue = cimp::equalsIgnoreCase(text, "true");
        out.boolean = isTrue ? 1 : 0;
        return isTrue || cimp::equalsIgnoreCase(text, "false");
    }
    if (type == CMPI_real32 || type == CMPI_real64) {
        char* end = nullptr;
        const double v = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0') {
            return false;
        }
        return cimbroker::storeNumber(v, type, &out);
    }
    if (type == CMPI_char16) {
        out.char16 = text.empty() ? 0 : static_cast<unsigned char>(text[0]);
        return text.size() == 1;
    }
    if (type == CMPI_dateTime) {
        out.dateTime = broker->eft->newDateTimeFromChars(broker, text.c_str(), nullptr);
        return out.dateTime != nullptr;
    }
    if ((type & CMPI_INTEGER) != 0) {
        return parseInteger(text, type, &out);
    }
    return false;
}

// CMPI passes CMPI_chars as the text pointer itself in place of a CMPIValue pointer.
const CMPIValue* valueArgument(const CMPIValue& value, CMPIType type) {
    return (type & ~CMPI_ARRAY) == CMPI_chars ? reinterpret_cast<const CMPIValue*>(value.chars)
                                              : &value;
}

// The type a key's value is given: its own for a string, a boolean or a reference; for a number
// the schema's, else what its text looks like.
CMPIType keyType(const KeyValue& key, std::string_view declared) {
    switch (key.type) {
        case KeyValue::Type::String:
            return CMPI_chars;
        case KeyValue::Type::Boolean:
            return CMPI_boolean;
        case KeyValue::Type::Reference:
            return CMPI_ref;
        case KeyValue::Type::Numeric:
            break;
    }
    const CMPIType type = typeCode(declared);
    if (type != CMPI_null && type != CMPI_chars && type != CMPI_boolean) {
        return type;
    }
    if (key.text.find_first_of(".eE") != std::string::npos) {
        return CMPI_real64;
    }
    return (!key.text.empty() && key.text[0] == '-') ? CMPI_sint64 : CMPI_uint64;
}

CMPIObjectPath* buildPath(const CMPIBroker* broker, const NamespaceSchema& schema,
                          const ObjectName& name, Status& status, int depth) {
    if (depth > kMaxReferenceDepth) {
        status = Status::invalidParameter("references nested too deep");
        return nullptr;
    }
    const std::string& nameSpace = name.nameSpace.empty() ? schema.nameSpace : name.nameSpace;
    CMPIObjectPath* path = makeClassPath(broker, nameSpace, name.className);
    if (path == nullptr) {
        status = Status::failed("the broker made no object path");
        return nullptr;
    }
    if (!name.host.empty()) {
        path->ft->setHostname(path, name.host.c_str());
    }
    const cimmof::ResolvedClass* cls = schema.classes.resolve(name.className);
    for (const KeyBinding& key : name.keys) {
        const cimmof::Property* decl = cls == nullptr ? nullptr : cls->property(key.name);
        const CMPIType type = keyType(key.value, decl == nullptr ? std::string_view() : decl->type);
        CMPIValue value{};
        if (type == CMPI_ref) {
            value.ref = buildPath(broker, schema, *key.value.reference, status, depth + 1);
            if (value.ref == nullptr) {
                return nullptr;
            }
        } else if (!toValue(broker, key.value.text, type, value)) {
            status = Status::invalidParameter("key " + key.name + " of " + name.className + ": \"" +
                                              key.value.text + "\" is not a valid value");
            return nullptr;
        }
        path->ft->addKey(path, key.name.c_str(), valueArgument(value, type), type);
    }
    return path;
}

// An array of `p`'s values as `type`, in `out`.
Status makeArray(const CMPIBroker* broker, const PropertyValue& p, CMPIType type,
                 const std::string& where, CMPIValue* out) {
    out->array =
        broker->eft->newArray(broker, static_cast<CMPICount>(p.values.size()), type, nullptr);
    if (out->array == nullptr) {
        return Status::failed("the broker made no array");
    }
    for (std::size_t i = 0; i < p.values.size(); ++i) {
        CMPIValue element{};
        if (!toValue(broker, p.values[i], type, element)) {
            return Status::invalidParameter(where + ": element " + std::to_string(i) +
                                            " is not a valid " + p.type);
        }
        out->array->ft->setElementAt(out->array, static_cast<CMPICount>(i),
                                     valueArgument(element, type), type);
    }
    return Status();
}

}  // namespace

Status setRequestProperty(const CMPIBroker* broker, const NamespaceSchema& schema,
                          const std::string& className, const PropertyValue& p,
                          CMPIInstance* instance) {
    CMPIValue v{};
    if (p.reference) {
        Status status;
        v.ref = buildPath(broker, schema, *p.reference, status, 1);
        if (v.ref != nullptr) {
            instance->ft->setProperty(instance, p.name.c_str(), &v, CMPI_ref);
        }
        return status;
    }
    const std::string where = "property " + p.name + " of " + className;
    const CMPIType type = typeCode(p.type);
    if (type == CMPI_null) {
        return Status::invalidParameter(where + ": unknown type " + p.type);
    }
    if (p.isArray) {
        Status status = makeArray(broker, p, type, where, &v);
        if (status.isOk()) {
            instance->ft->setProperty(instance, p.name.c_str(), &v, type | CMPI_ARRAY);
        }
        return status;
    }
    if (p.values.empty() || !toValue(broker, p.values.front(), type, v)) {
        return Status::invalidParameter(where + ": not a valid " + p.type);
    }
    instance->ft->setProperty(instance, p.name.c_str(), valueArgument(v, type), type);
    return Status();
}

CMPIObjectPath* makeClassPath(const CMPIBroker* broker, const std::string& nameSpace,
                              const std::string& className) {
    return broker->eft->newObjectPath(broker, nameSpace.c_str(), className.c_str(), nullptr);
}

CMPIObjectPath* makeObjectPath(const CMPIBroker* broker, const NamespaceSchema& schema,
                               const ObjectName& name, Status& status) {
    return buildPath(broker, schema, name, status, 0);
}

CMPIInstance* makeInstance(const CMPIBroker* broker, const NamespaceSchema& schema,
                           const InstanceValue& value, Status& status) {
    CMPIObjectPath* path = makeClassPath(broker, schema.nameSpace, value.className);
    CMPIInstance* instance =
        path == nullptr ? nullptr : broker->eft->newInstance(broker, path, nullptr);
    if (instance == nullptr) {
        status = Status::failed("the broker made no instance");
        return nullptr;
    }
    for (const PropertyValue& p : value.properties) {
        if (!p.isNull) {
            status = setRequestProperty(broker, schema, value.className, p, instance);
            if (!status.isOk()) {
                return nullptr;
            }
        }
    }
    return instance;
}

}  // namespace cimhost
