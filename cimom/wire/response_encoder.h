// Writes the CIM-XML response message (DSP0201) for an operation: its IRETURNVALUE, shaped as
// DSP0200 gives each method (INSTANCENAME*, VALUE.NAMEDINSTANCE*, one INSTANCE,
// VALUE.OBJECTWITHPATH* (of instances, or of classes for an association operation on a class),
// OBJECTPATH*, CLASS*, CLASSNAME*, QUALIFIER.DECLARATION*), always present
// and empty when there is nothing; or the ERROR of a failed one. The client's PropertyList trims
// instances, never the keys of their paths. Use on the thread that owns the reply's objects.
#pragma once

#include <string>

#include "cimom/cim/enumeration_batch.h"
#include "cimom/cim/namespace_schema.h"
#include "cimom/cim/operation.h"
#include "cimom/cim/reply.h"
#include "cimom/cim/status.h"
#include "cimom/wire/object_encoder.h"

namespace cimhost {

// `host` fills object paths that a provider left without one.
std::string encodeResponse(const Operation& op, const Reply& reply, const NamespaceSchema& schema,
                           const std::string& host);

// The answer to an open or pull operation (DSP0200 1.3): the batch's objects, already encoded,
// then the EndOfSequence and EnumerationContext output parameters; CloseEnumeration's is empty.
std::string encodeEnumerationResponse(const Operation& op, const EnumerationBatch& batch);

// Which properties of the reply's instances the client gets: its PropertyList, or a query's
// select list; only the requested class's when DeepInheritance was false. Points into both.
PropertySelection instanceSelection(const Operation& op, const Reply& reply);

// An ERROR response to `op` (only its message id, method name and kind are read).
std::string encodeError(const Operation& op, const Status& status);

}  // namespace cimhost
