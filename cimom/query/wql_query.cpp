#include "cimom/query/wql_query.h"

namespace cimquery {
namespace {

void collect(const Condition& c, std::vector<PropertyName>& out) {
    for (const Operand* operand : {&c.left, &c.right}) {
        if (operand->isProperty) {
            out.push_back(PropertyName{operand->property, operand->position});
        }
    }
    for (const Condition& child : c.children) {
        collect(child, out);
    }
}

}  // namespace

std::vector<PropertyName> propertiesNamed(const Query& query) {
    std::vector<PropertyName> names = query.selected;
    if (query.where) {
        collect(*query.where, names);
    }
    return names;
}

}  // namespace cimquery
