// HostRecord: one instance the indication service keeps, as plain values: its name (class and
// keys, no host or namespace: it lives in the interop namespace) and the properties set, keys
// among them, typed as the class declares them (a reference as the name it refers to). The
// helpers read and write a record's properties by name (any case) and compare and print names.
// Plain data and pure functions: copy freely, share read-only between threads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cimom/cim/operation.h"
#include "cimom/mof/schema.h"

namespace cimhost {

struct HostRecord {
    ObjectName name;
    InstanceValue value;
};

// The property `name` of `value`, or null.
const PropertyValue* findProperty(const InstanceValue& value, std::string_view name);
// A scalar property's text; empty when it is absent, NULL or an array.
std::string textOf(const InstanceValue& value, std::string_view name);
// A scalar property as an unsigned number; nullopt when absent, NULL or not one.
std::optional<std::uint64_t> unsignedOf(const InstanceValue& value, std::string_view name);
// Sets scalar property `name` of CIM type `type` to `text`, or a reference to `target`.
void setScalar(InstanceValue& value, const std::string& name, const std::string& type,
               std::string text);
void setReference(InstanceValue& value, const std::string& name, const ObjectName& target);

// The name the key properties of `value` give, in the order its class declares them.
ObjectName nameFromKeys(const cimmof::Schema& classes, const InstanceValue& value);

// Whether two names name the same instance: class and key names without regard to case, other
// values exactly, references as names; host and namespace aside.
bool sameName(const ObjectName& a, const ObjectName& b);

// The name as text, as a WBEM URI gives an instance path: Class.Key="value",... after
// "namespace:" when the name has one; string values quoted with '"' and '\' escaped.
std::string nameText(const ObjectName& name);

}  // namespace cimhost
