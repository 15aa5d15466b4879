#include "broker/class_hierarchy.h"

namespace cimbroker {

ClassHierarchy::ClassHierarchy(const ClassHierarchy& other) : nodes_(other.nodes_) {
    index();
}

ClassHierarchy& ClassHierarchy::operator=(const ClassHierarchy& other) {
    nodes_ = other.nodes_;
    index();
    return *this;
}

void ClassHierarchy::index() {
    byName_.clear();
    for (Node& node : nodes_) {
        byName_.emplace(node.name, &node);
    }
}

void ClassHierarchy::add(const std::string& cls, const std::string& superclass) {
    const auto known = byName_.find(cls);
    if (known != byName_.end()) {
        known->second->superclass = superclass;
        return;
    }
    nodes_.push_back(Node{cls, superclass});
    byName_.emplace(nodes_.back().name, &nodes_.back());
}

bool ClassHierarchy::isA(std::string_view cls, std::string_view ancestor) const {
    std::string_view current = cls;
    // Each step moves one class up; more steps than classes means the map holds a cycle.
    for (size_t steps = 0; steps <= nodes_.size(); ++steps) {
        if (cimp::equalsIgnoreCase(current, ancestor)) {
            return true;
        }
        auto up = byName_.find(current);
        if (up == byName_.end() || up->second->superclass.empty()) {
            return false;
        }
        current = up->second->superclass;
    }
    return false;
}

bool ClassHierarchy::contains(std::string_view cls) const {
    return byName_.count(cls) != 0;
}

}  // namespace cimbroker
