// ResolvedClass: one class of a Schema with everything inheritance gives it worked out once at
// load, so that requests only read: its effective properties and methods, its place in the
// hierarchy, its subclasses, and the associations that may reference its instances. Immutable
// once the Schema is loaded; share freely between threads.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "cimom/mof/document.h"

namespace cimmof {

struct InheritedMethod {
    Method method;
    std::string origin;  // the class of the effective declaration
};

struct ResolvedClass {
    ClassDecl decl;
    std::vector<const ResolvedClass*> chain;  // the root first, this class last
    // Inherited properties first, in the order the root class declares them; an override takes
    // the place of what it overrides and inherits its propagated qualifiers (Key among them).
    std::vector<Property> properties;
    std::vector<std::size_t> propertyHashes;    // foldedHash of each property's name
    std::vector<InheritedMethod> methods;       // ordered as properties are
    std::vector<std::string> directSubclasses;  // in declaration order
    std::vector<std::string> allSubclasses;     // every descendant, in declaration order
    // Each association with a reference an instance of this class may fill, once, in declaration
    // order.
    std::vector<const ClassDecl*> associations;

    // The effective property `name` (any case), or null.
    const Property* property(std::string_view name) const;
    // True when this class is `ancestor` or derives from it.
    bool isA(const ResolvedClass& ancestor) const {
        return ancestor.chain.size() <= chain.size() &&
               chain[ancestor.chain.size() - 1] == &ancestor;
    }
};

}  // namespace cimmof
