#include "cimom/wire/request_objects.h"

#include <cstdlib>
#include <vector>

#include "broker/cmpi_number.h"
#include "broker/text_case.h"
#include "cimom/wire/value_text.h"

namespace cimhost {
namespace {

// Nested references are bounded by the XML depth limit already; this bounds the recursion too.
constexpr int kMaxReferenceDepth = 8;

struct TypeCode {
    const char* name;
    CMPIType type;
};

const TypeCode kTypeCodes[] = {
    {"boolean", CMPI_boolean}, {"char16", CMPI_char16},     {"real32", CMPI_real32},
    {"real64", CMPI_real64},   {"uint8", CMPI_uint8},       {"uint16", CMPI_uint16},
    {"uint32", CMPI_uint32},   {"uint64", CMPI_uint64},     {"sint8", CMPI_sint8},
    {"sint16", CMPI_sint16},   {"sint32", CMPI_sint32},     {"sint64", CMPI_sint64},
    {"string", CMPI_chars},    {"datetime", CMPI_dateTime},
};

CMPIType typeCode(const std::string& cimType) {
    for (const TypeCode& entry : kTypeCodes) {
        if (cimbroker::equalsIgnoreCase(cimType, entry.name)) {
            return entry.type;
        }
    }
    return CMPI_null;
}

// `text` as a value of `type`; false when it is not one. Strings point into `text`.
bool toValue(const CMPIBroker* broker, const std::string& text, CMPIType type, CMPIValue& out) {
    if (type == CMPI_chars) {
        out.chars = const_cast<char*>(text.c_str());
        return true;
    }
    if (type == CMPI_boolean) {
        const bool isTrue = cimbroker::equalsIgnoreCase(text, "true");
        out.boolean = isTrue ? 1 : 0;
        return isTrue || cimbroker::equalsIgnoreCase(text, "false");
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

const std::string kUndeclared;

// The type a numeric key is given: the schema's, else what its text looks like.
CMPIType numericKeyType(const std::string& declared, const std::string& text) {
    const CMPIType type = typeCode(declared);
    if (type != CMPI_null && type != CMPI_chars && type != CMPI_boolean) {
        return type;
    }
    if (text.find_first_of(".eE") != std::string::npos) {
        return CMPI_real64;
    }
    return (!text.empty() && text[0] == '-') ? CMPI_sint64 : CMPI_uint64;
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
        const std::string& declaredType = decl == nullptr ? kUndeclared : decl->type;
        CMPIValue value{};
        CMPIType type = CMPI_chars;
        bool ok = true;
        switch (key.value.type) {
            case KeyValue::Type::String:
                ok = toValue(broker, key.value.text, CMPI_chars, value);
                break;
            case KeyValue::Type::Boolean:
                type = CMPI_boolean;
                ok = toValue(broker, key.value.text, type, value);
                break;
            case KeyValue::Type::Numeric:
                type = numericKeyType(declaredType, key.value.text);
                ok = toValue(broker, key.value.text, type, value);
                break;
            case KeyValue::Type::Reference:
                type = CMPI_ref;
                value.ref = buildPath(broker, schema, *key.value.reference, status, depth + 1);
                if (value.ref == nullptr) {
                    return nullptr;
                }
                break;
        }
        if (!ok) {
            status = Status::invalidParameter("key " + key.name + " of " + name.className + ": \"" +
                                              key.value.text + "\" is not a valid value");
            return nullptr;
        }
        path->ft->addKey(path, key.name.c_str(), valueArgument(value, type), type);
    }
    return path;
}

}  // namespace

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
        const std::string where = "property " + p.name + " of " + value.className;
        if (p.isNull) {
            continue;
        }
        if (p.reference) {
            CMPIValue v{};
            v.ref = buildPath(broker, schema, *p.reference, status, 1);
            if (v.ref == nullptr) {
                return nullptr;
            }
            instance->ft->setProperty(instance, p.name.c_str(), &v, CMPI_ref);
            continue;
        }
        const CMPIType type = typeCode(p.type);
        if (type == CMPI_null) {
            status = Status::invalidParameter(where + ": unknown type " + p.type);
            return nullptr;
        }
        CMPIValue v{};
        if (!p.isArray) {
            if (p.values.empty() || !toValue(broker, p.values.front(), type, v)) {
                status = Status::invalidParameter(where + ": not a valid " + p.type);
                return nullptr;
            }
            instance->ft->setProperty(instance, p.name.c_str(), valueArgument(v, type), type);
            continue;
        }
        v.array =
            broker->eft->newArray(broker, static_cast<CMPICount>(p.values.size()), type, nullptr);
        if (v.array == nullptr) {
            status = Status::failed("the broker made no array");
            return nullptr;
        }
        for (std::size_t i = 0; i < p.values.size(); ++i) {
            CMPIValue element{};
            if (!toValue(broker, p.values[i], type, element)) {
                status = Status::invalidParameter(where + ": element " + std::to_string(i) +
                                                  " is not a valid " + p.type);
                return nullptr;
            }
            v.array->ft->setElementAt(v.array, static_cast<CMPICount>(i),
                                      valueArgument(element, type), type);
        }
        instance->ft->setProperty(instance, p.name.c_str(), &v, type | CMPI_ARRAY);
    }
    return instance;
}

}  // namespace cimhost
