// The classes of the one namespace the host serves, with the qualifier declarations that came
// with them (CIM-XML names a qualifier's type, which only the declaration knows). Loaded once at
// start; immutable afterwards, so any number of request threads share it.
#pragma once

#include <string>
#include <vector>

#include "base/outcome.h"
#include "cimom/mof/document.h"
#include "cimom/mof/schema.h"

namespace cimhost {

struct NamespaceSchema {
    std::string nameSpace;
    cimmof::Schema classes;
    std::vector<cimmof::QualifierType> qualifierTypes;

    // Reads the MOF file `path` (following its includes); failed as the MOF reader fails.
    static cimp::Outcome load(const std::string& path, const std::string& nameSpace,
                              NamespaceSchema* out);
    // As load, for MOF text in memory; `fileName` names it in errors.
    static cimp::Outcome fromText(const std::string& text, const std::string& fileName,
                                  const std::string& nameSpace, NamespaceSchema* out);

    // The declaration of qualifier `name` (any case), or null.
    const cimmof::QualifierType* qualifierType(const std::string& name) const;
};

}  // namespace cimhost
