// What a client sends, made into what the indication service keeps: the properties taken as the
// class declares them, the keys a client may leave out filled as DSP1054 says, and the checks of
// a listener destination. Pure functions; thread-safe.
#pragma once

#include <string>

#include "cimom/cim/operation.h"
#include "cimom/cim/status.h"
#include "cimom/mof/schema.h"

namespace cimhost {

constexpr const char* kSystemClass = "CIM_ComputerSystem";

// The client's properties as a record of `given.className` in `out`: each must be one the class
// declares (CIM_ERR_INVALID_PARAMETER naming it otherwise), of its kind (array or not, reference
// or not); names are spelled and values typed as declared, booleans lower-cased; NULL ones are
// left out.
Status takeProperties(const cimmof::Schema& classes, const InstanceValue& given,
                      InstanceValue* out);

// Fills what a filter's or destination's keys leave out: SystemCreationClassName
// CIM_ComputerSystem, SystemName `systemName`, CreationClassName its class, Name `freshName`.
// A CreationClassName other than the class is CIM_ERR_INVALID_PARAMETER.
Status fillSystemKeys(InstanceValue& value, const std::string& systemName,
                      const std::string& freshName);

// A destination's Destination must be an http:// or https:// URL with a host, and its
// PersistenceType 1 (Other), 2 (Permanent, filled in when left out) or 3 (Transient); a CIM-XML
// destination's Protocol is filled with 2 (CIM-XML). CIM_ERR_INVALID_PARAMETER naming the fault.
Status checkDestination(InstanceValue& value);

}  // namespace cimhost
