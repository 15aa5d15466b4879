// A counted reference to an immutable StringObject. Strings never change, so the names and text
// values of a key, property or path and of every clone of it can be one object: copying a
// SharedString adds a holder instead of copying the text, and the last holder frees the string.
// The count is atomic, as a clone a provider keeps may be read on another thread. A string made
// for sharing is only ever held this way. A string its runtime keeps to the end (a name) is held
// without counting.
#pragma once

#include <string_view>

#include "broker/string_object.h"

namespace cimbroker {

class SharedString {
  public:
    SharedString() = default;
    static SharedString make(RuntimeState& runtime, std::string_view text);
    // Another holder of `string` when it is already shared or kept; a null SharedString otherwise.
    static SharedString join(const StringObject& string);
    // A holder of `string`, which its runtime keeps to the end.
    static SharedString keep(const StringObject& string);

    SharedString(const SharedString& other);
    SharedString(SharedString&& other) noexcept;
    SharedString& operator=(SharedString other) noexcept;
    ~SharedString();

    explicit operator bool() const { return string_ != nullptr; }
    const StringObject& operator*() const { return *string_; }
    const StringObject* operator->() const { return string_; }
    const StringObject* get() const { return string_; }

  private:
    explicit SharedString(const StringObject* held);
    void drop();
    void count() const;

    const StringObject* string_ = nullptr;
};

}  // namespace cimbroker
