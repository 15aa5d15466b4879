#include "cimom/indication/host_record.h"

#include <algorithm>
#include <charconv>

#include "base/text_case.h"

namespace cimhost {
namespace {

using cimp::equalsIgnoreCase;

PropertyValue* findMutable(InstanceValue& value, std::string_view name) {
    const auto found =
        std::find_if(value.properties.begin(), value.properties.end(),
                     [name](const PropertyValue& p) { return equalsIgnoreCase(p.name, name); });
    return found == value.properties.end() ? nullptr : &*found;
}

// The entry `name` of `value`, emptied for a new value; added when missing.
PropertyValue& entry(InstanceValue& value, const std::string& name) {
    PropertyValue* found = findMutable(value, name);
    if (found == nullptr) {
        value.properties.emplace_back();
        found = &value.properties.back();
    }
    *found = PropertyValue{};
    found->name = name;
    return *found;
}

bool sameKeyValue(const KeyValue& a, const KeyValue& b) {
    if (a.type == KeyValue::Type::Reference || b.type == KeyValue::Type::Reference) {
        return a.reference && b.reference && sameName(*a.reference, *b.reference);
    }
    return a.text == b.text;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

KeyValue keyValueOf(const PropertyValue& p) {
    if (p.reference) {
        return KeyValue{KeyValue::Type::Reference, "", p.reference};
    }
    const std::string& text = p.values.empty() ? std::string() : p.values.front();
    if (p.type == "string" || p.type == "datetime" || p.type == "char16") {
        return KeyValue{KeyValue::Type::String, text, nullptr};
    }
    return KeyValue{p.type == "boolean" ? KeyValue::Type::Boolean : KeyValue::Type::Numeric, text,
                    nullptr};
}

}  // namespace

const PropertyValue* findProperty(const InstanceValue& value, std::string_view name) {
    return findMutable(const_cast<InstanceValue&>(value), name);
}

std::string textOf(const InstanceValue& value, std::string_view name) {
    const PropertyValue* p = findProperty(value, name);
    return p == nullptr || p->isNull || p->isArray || p->values.empty() ? "" : p->values.front();
}

std::optional<std::uint64_t> unsignedOf(const InstanceValue& value, std::string_view name) {
    const std::string text = textOf(value, name);
    std::uint64_t number = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || std::from_chars(text.data(), end, number).ptr != end) {
        return std::nullopt;
    }
    return number;
}

void setScalar(InstanceValue& value, const std::string& name, const std::string& type,
               std::string text) {
    PropertyValue& p = entry(value, name);
    p.type = type;
    p.values.push_back(std::move(text));
}

void setReference(InstanceValue& value, const std::string& name, const ObjectName& target) {
    PropertyValue& p = entry(value, name);
    p.type = "ref";
    p.reference = std::make_shared<const ObjectName>(target);
}

ObjectName nameFromKeys(const cimmof::Schema& classes, const InstanceValue& value) {
    ObjectName name;
    name.className = value.className;
    for (const cimmof::Property& declared : classes.allProperties(value.className)) {
        const PropertyValue* given = findProperty(value, declared.name);
        if (declared.isKey && given != nullptr && !given->isNull) {
            name.keys.push_back(KeyBinding{declared.name, keyValueOf(*given)});
        }
    }
    return name;
}

bool sameName(const ObjectName& a, const ObjectName& b) {
    return equalsIgnoreCase(a.className, b.className) && a.keys.size() == b.keys.size() &&
           std::all_of(a.keys.begin(), a.keys.end(), [&b](const KeyBinding& key) {
               return std::any_of(b.keys.begin(), b.keys.end(), [&key](const KeyBinding& other) {
                   return equalsIgnoreCase(key.name, other.name) &&
                          sameKeyValue(key.value, other.value);
               });
           });
}

std::string nameText(const ObjectName& name) {
    std::string text = name.nameSpace.empty() ? "" : name.nameSpace + ":";
    text += name.className;
    for (std::size_t i = 0; i < name.keys.size(); ++i) {
        const KeyValue& value = name.keys[i].value;
        text += (i == 0 ? "." : ",") + name.keys[i].name + "=";
        if (value.type == KeyValue::Type::Reference) {
            text += quoted(value.reference ? nameText(*value.reference) : "");
        } else {
            text += value.type == KeyValue::Type::String ? quoted(value.text) : value.text;
        }
    }
    return text;
}

}  // namespace cimhost
