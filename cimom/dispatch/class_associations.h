// ClassAssociations: Associators, AssociatorNames, References and ReferenceNames on a class name
// (DSP0200), answered from the schema alone: the classes at the other ends of the associations
// that can reference the class (Associators), or those association classes (References), each
// once, in the schema's order. The source class fills a reference when it is the reference's
// class or derives from it; the filters narrow as on instances: AssocClass and ResultClass take
// a class and its subclasses, Role and ResultRole name references without regard to case.
// Reads the schema only; thread-safe.
#pragma once

#include "cimom/cim/operation.h"
#include "cimom/cim/reply.h"
#include "cimom/mof/schema.h"

namespace cimhost {

// The classes `op` (with a class name and no instance name) asks for, in `classes` of the reply;
// an unknown source class is CIM_ERR_INVALID_CLASS, an unknown filter class
// CIM_ERR_INVALID_PARAMETER.
Reply classAssociations(const Operation& op, const cimmof::Schema& schema);

}  // namespace cimhost
