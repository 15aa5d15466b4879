#include "broker/object_model.h"

#include "broker/runtime_state.h"

namespace cimbroker {

Object::Object(RuntimeState& runtime, bool counted) : runtime_(runtime), counted_(counted) {
    if (counted_) {
        runtime_.liveObjects.fetch_add(1, std::memory_order_relaxed);
    }
}

Object::~Object() {
    if (counted_) {
        runtime_.liveObjects.fetch_sub(1, std::memory_order_relaxed);
    }
}

void Object::lendTo(Borrower& borrower, size_t slot) {
    borrower_ = &borrower;
    loanSlot_ = slot;
}

void Object::leaveArena(std::unique_ptr<Object> object) {
    object->inArena_ = false;
    Borrower* borrower = object->borrower_;
    if (borrower != nullptr) {
        object->borrower_ = nullptr;
        const size_t slot = object->loanSlot_;
        borrower->takeOver(std::move(object), slot);
    }
}

void Object::beforeChange() {
    if (borrower_ != nullptr) {
        Borrower* borrower = borrower_;
        borrower_ = nullptr;
        borrower->keepCopyOf(*this, loanSlot_);
    }
}

}  // namespace cimbroker
