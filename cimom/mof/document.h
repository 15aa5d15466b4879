// The declarations a MOF text holds, as plain values: classes with their properties, references
// and methods, instances, and qualifier types. The parser fills them in source order; the Schema
// indexes and checks the classes. Values are decoded: strings unescaped, booleans "true"/"false",
// numbers as written. Plain data: copy freely, share read-only between threads.
#pragma once

#include <string>
#include <vector>

#include "base/text_case.h"

namespace cimmof {

struct Qualifier {
    std::string name;
    std::string value;  // "true" for a bare flag; an array's elements joined by ", "
    std::vector<std::string> elements;  // an array qualifier's elements (ValueMap, Values)
    bool isArray = false;
};

struct Property {
    std::string name;
    std::string type;  // lowercased CIM type: "string", "uint16", "datetime", ...; "ref"
    bool isArray = false;
    std::string refClass;  // for "ref": the referenced class
    bool isKey = false;
    std::vector<Qualifier> qualifiers;
    std::string classOrigin;  // the class whose declaration this is
    int arraySize = 0;        // N of name[N]; 0 when unbounded
    bool hasDefault = false;
    std::string defaultValue;  // as a qualifier value is given
    int line = 0;
    int column = 0;
};

struct Method {
    std::string name;
    std::string returnType;  // lowercased CIM type
    std::vector<Qualifier> qualifiers;
    std::vector<Property> parameters;  // in declaration order
    int line = 0;
    int column = 0;
};

struct ClassDecl {
    std::string name;
    std::string superclass;      // empty for a root class
    bool isAssociation = false;  // own Association qualifier, or inherited once in a Schema
    bool isAbstract = false;
    std::vector<Qualifier> qualifiers;
    std::vector<Property> properties;  // own, in declaration order
    std::vector<Method> methods;       // own, in declaration order
    std::string file;
    int line = 0;
    int column = 0;
};

struct PropertyValue {
    std::string name;
    std::string value;  // as a qualifier value is given; "$Alias" for an alias reference
    std::vector<std::string> elements;
    bool isArray = false;
    bool isNull = false;
};

struct InstanceDecl {
    std::string className;
    std::string alias;  // without the leading '$'; empty when none
    std::vector<Qualifier> qualifiers;
    std::vector<PropertyValue> values;  // in declaration order
    std::string file;
    int line = 0;
};

struct QualifierType {
    std::string name;
    std::string type;  // lowercased CIM type
    bool isArray = false;
    std::vector<std::string> scopes;           // lowercased: "class", "property", "any", ...
    std::vector<std::string> flavors;          // as written: "EnableOverride", "ToSubclass", ...
    bool hasDefault = false;                   // false: none given, or NULL
    std::string defaultValue;                  // as a qualifier value is given; an array's joined
    std::vector<std::string> defaultElements;  // an array default's elements
    std::string file;
    int line = 0;
};

struct MofDocument {
    std::vector<ClassDecl> classes;
    std::vector<InstanceDecl> instances;
    std::vector<QualifierType> qualifierTypes;
};

// The first item whose name equals `name` without regard to case, or null.
template <class T>
T* findByName(std::vector<T>& items, const std::string& name) {
    for (T& item : items) {
        if (cimp::equalsIgnoreCase(item.name, name)) {
            return &item;
        }
    }
    return nullptr;
}
template <class T>
const T* findByName(const std::vector<T>& items, const std::string& name) {
    return findByName(const_cast<std::vector<T>&>(items), name);
}

// Whether a boolean qualifier is present and not explicitly false.
bool hasFlag(const std::vector<Qualifier>& qualifiers, const std::string& name);

}  // namespace cimmof
