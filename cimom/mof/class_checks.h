// The rules a class must satisfy before it joins a Schema, judged against the classes declared
// before it: a new name, a known superclass, references only in associations and only to known
// classes, and overrides that keep the name, type and keys of what they override. Throws
// MofError at the declaration at fault. Pure function of its arguments.
#pragma once

#include "cimom/mof/document.h"
#include "cimom/mof/schema.h"

namespace cimmof {

void checkClass(const Schema& earlier, const ClassDecl& cls);

}  // namespace cimmof
