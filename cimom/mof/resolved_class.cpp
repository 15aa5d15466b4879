#include "cimom/mof/resolved_class.h"

#include "base/text_case.h"

namespace cimmof {

const Property* ResolvedClass::property(std::string_view name) const {
    const std::size_t hash = cimp::foldedHash(name);
    for (std::size_t i = 0; i < properties.size(); ++i) {
        if (propertyHashes[i] == hash && cimp::equalsIgnoreCase(properties[i].name, name)) {
            return &properties[i];
        }
    }
    return nullptr;
}

}  // namespace cimmof
