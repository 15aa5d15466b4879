// WatchedClass: a class whose instances the host polls for lifecycle indications
// (CIM_InstCreation, CIM_InstDeletion, CIM_InstModification) because an active subscription's
// filter asks for them with "SourceInstance ISA <class>". Plain data.
#pragma once

#include <string>

namespace cimhost {

struct WatchedClass {
    std::string nameSpace;  // a source namespace of the filter
    std::string className;  // as the filter's ISA names it

    bool operator==(const WatchedClass& other) const {
        return nameSpace == other.nameSpace && className == other.className;
    }
};

}  // namespace cimhost
