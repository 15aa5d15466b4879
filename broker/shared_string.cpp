#include "broker/shared_string.h"

#include <utility>

namespace cimbroker {

SharedString::SharedString(const StringObject* held) : string_(held) {
    count();
}

void SharedString::count() const {
    if (string_ != nullptr && !string_->kept_) {
        string_->holders_.fetch_add(1, std::memory_order_relaxed);
    }
}

SharedString SharedString::make(RuntimeState& runtime, std::string_view text) {
    return SharedString(StringObject::make(runtime, text).release());
}

SharedString SharedString::keep(const StringObject& string) {
    return SharedString(&string);
}

SharedString SharedString::join(const StringObject& string) {
    if (!string.kept_ && string.holders_.load(std::memory_order_relaxed) == 0) {
        return SharedString();
    }
    return SharedString(&string);
}

SharedString::SharedString(const SharedString& other) : string_(other.string_) {
    count();
}

SharedString::SharedString(SharedString&& other) noexcept
    : string_(std::exchange(other.string_, nullptr)) {}

// Copies and moves alike: `other` takes the old string away with it.
SharedString& SharedString::operator=(SharedString other) noexcept {
    std::swap(string_, other.string_);
    return *this;
}

SharedString::~SharedString() {
    drop();
}

void SharedString::drop() {
    // The last holder sees every earlier holder's reads finished before it frees the string.
    if (string_ != nullptr && !string_->kept_ &&
        string_->holders_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        delete string_;
    }
    string_ = nullptr;
}

}  // namespace cimbroker
