// Writes instance declarations as MOF text (`instance of Class as $alias { Prop = value; ... };`)
// that readMofText reads back to equal declarations (all but file and line). The reader keeps a
// value "as a qualifier value is given", without its kind, so the writer chooses the spelling: a
// value the lexer reads as one number, or exactly "true"/"false", is written bare; anything else
// is a string literal with quotes, backslashes and control characters escaped and other bytes
// (UTF-8) as they are. An array is written from its elements (its value is their join), NULL
// for a null value. Names that would not read back as identifiers and strings over the lexer's
// literal bound are refused, naming the instance and property. Thread-safe (no shared state).
#pragma once

#include <string>
#include <vector>

#include "base/outcome.h"
#include "cimom/mof/document.h"

namespace cimmof {

cimp::Outcome writeMofInstances(const std::vector<InstanceDecl>& instances, std::string* text);

}  // namespace cimmof
