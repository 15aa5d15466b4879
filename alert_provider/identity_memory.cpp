#include "alert_provider/identity_memory.h"

#include <cstdint>

#include "platform/errl_entry.h"
#include "platform/trace_point.h"

CimpIdentityReading CimpIdentityMemory::read() {
    CimpMtms_t mtms = {};
    ErrlEntry* entry = cimpGetMtms(mtms);
    std::lock_guard<std::mutex> lock(mutex_);
    if (entry == nullptr) {
        known_ = true;
        last_ = mtms;
        return {true, true, mtms};
    }
    CIMP_TRACE(" %X", "alert identity read failed, entry deleted uncommitted rc=0x%X",
               entry->getRC());
    delete entry;
    return {known_, false, last_};
}

void CimpIdentityMemory::forget() {
    std::lock_guard<std::mutex> lock(mutex_);
    known_ = false;
    last_ = {};
}
