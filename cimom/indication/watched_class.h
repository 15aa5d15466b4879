// WatchedClass: a class whose instances the host polls for lifecycle indications
// (CIM_InstCreation, CIM_InstDeletion, CIM_InstModification) because an active subscription's
// filter asks for them with "SourceInstance ISA <class>". Plain data.
#pragma once

#include <string>

#include "base/text_case.h"

namespace cimhost {

struct WatchedClass {
    std::string nameSpace;  // a source namespace of the filter
    std::string className;  // as the filter's ISA names it

    // Namespace and class names are told apart without regard to case.
    bool operator==(const WatchedClass& other) const {
        return cimp::equalsIgnoreCase(nameSpace, other.nameSpace) &&
               cimp::equalsIgnoreCase(className, other.className);
    }
};

}  // namespace cimhost
