// The CMPI instance of a HostRecord, made through the broker for the calling thread's
// RequestScope: keyed as the record's name, with every property its class declares (clients
// read them all): the record's value, else the class's default, else NULL of the declared type.
#pragma once

#include "cimom/cim/namespace_schema.h"
#include "cimom/cim/status.h"
#include "cimom/indication/host_record.h"
#include "cmpidt.h"
#include "cmpift.h"

namespace cimhost {

// Null, with the reason in `status` (a value not of its type names the property), when it
// cannot be made.
CMPIInstance* recordInstance(const CMPIBroker* broker, const NamespaceSchema& schema,
                             const HostRecord& record, Status& status);

}  // namespace cimhost
