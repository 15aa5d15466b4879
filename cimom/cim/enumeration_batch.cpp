#include "cimom/cim/enumeration_batch.h"

#include <utility>

namespace cimhost {

EnumerationBatch EnumerationBatch::refused(Status status) {
    EnumerationBatch batch;
    batch.status = std::move(status);
    return batch;
}

}  // namespace cimhost
