// Makes the CMPI objects a provider is called with from a request's values: object paths from
// instance names (keys typed as the schema declares them) and instances from request instances.
// Objects come from `broker` and belong to the calling thread's RequestScope. A value that cannot
// be its type yields null and an invalid-parameter Status naming it.
#pragma once

#include <string>

#include "cimom/cim/namespace_schema.h"
#include "cimom/cim/operation.h"
#include "cimom/cim/status.h"
#include "cmpidt.h"
#include "cmpift.h"

namespace cimhost {

// A path of `className` in `nameSpace` without keys, or null when the broker makes none.
CMPIObjectPath* makeClassPath(const CMPIBroker* broker, const std::string& nameSpace,
                              const std::string& className);

// The path `name` describes; its namespace, when the name has none, is the schema's.
CMPIObjectPath* makeObjectPath(const CMPIBroker* broker, const NamespaceSchema& schema,
                               const ObjectName& name, Status& status);

// Sets the non-null property `value` on `instance` (of `className`) as `value.type` says, or
// as the reference it holds; invalid-parameter naming it when its text is not of that type.
Status setRequestProperty(const CMPIBroker* broker, const NamespaceSchema& schema,
                          const std::string& className, const PropertyValue& value,
                          CMPIInstance* instance);

// An instance of `value.className` with the properties the request gave, as the request typed
// them; its path carries no keys.
CMPIInstance* makeInstance(const CMPIBroker* broker, const NamespaceSchema& schema,
                           const InstanceValue& value, Status& status);

}  // namespace cimhost
