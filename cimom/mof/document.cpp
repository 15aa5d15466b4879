#include "cimom/mof/document.h"

#include "cimom/mof/ascii_case.h"

namespace cimmof {

bool hasFlag(const std::vector<Qualifier>& qualifiers, const std::string& name) {
    const Qualifier* q = findQualifier(qualifiers, name);
    return q != nullptr && !equalsIgnoreCase(q->value, "false");
}

}  // namespace cimmof
