#include "broker/class_hierarchy.h"

#include "broker/text_case.h"

namespace cimbroker {

void ClassHierarchy::add(const std::string& cls, const std::string& superclass) {
    superclassOf_[lowerCase(cls)] = lowerCase(superclass);
}

bool ClassHierarchy::isA(const std::string& cls, const std::string& ancestor) const {
    const std::string wanted = lowerCase(ancestor);
    std::string current = lowerCase(cls);
    // Each step moves one class up; more steps than classes means the map holds a cycle.
    for (size_t steps = 0; steps <= superclassOf_.size(); ++steps) {
        if (current == wanted) {
            return true;
        }
        auto up = superclassOf_.find(current);
        if (up == superclassOf_.end() || up->second.empty()) {
            return false;
        }
        current = up->second;
    }
    return false;
}

bool ClassHierarchy::contains(const std::string& cls) const {
    return superclassOf_.count(lowerCase(cls)) != 0;
}

}  // namespace cimbroker
