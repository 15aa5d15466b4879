#include "cimom/mof/document.h"

#include "base/text_case.h"

namespace cimmof {

bool hasFlag(const std::vector<Qualifier>& qualifiers, const std::string& name) {
    const Qualifier* q = findByName(qualifiers, name);
    return q != nullptr && !cimp::equalsIgnoreCase(q->value, "false");
}

}  // namespace cimmof
