// EnumerationBatch: one answer of an open or pull operation, as the enumeration context table
// gives it and the codec encodes it.
#pragma once

#include <string>
#include <vector>

#include "cimom/cim/status.h"

namespace cimhost {

// One answer of an open or pull operation.
struct EnumerationBatch {
    Status status;
    std::vector<std::string> items;  // encoded objects, in the order the enumeration gave them
    bool endOfSequence = true;
    std::string context;  // empty once the sequence has ended

    static EnumerationBatch refused(Status status);
};

}  // namespace cimhost
