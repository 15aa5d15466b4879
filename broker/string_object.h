// CMPIString: immutable text. Its hdl points at the NUL-terminated character data, the shortcut
// providers rely on, and getCharPtr answers the same pointer. The characters live in the same
// allocation as the object, right after it, so a string costs one allocation whatever its length.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "broker/object_model.h"
#include "cmpift.h"

namespace cimbroker {

class StringObject : public Encapsulated<CMPIString, StringObject> {
  public:
    static std::unique_ptr<StringObject> make(RuntimeState& runtime, std::string_view text);
    // A string its runtime keeps until it ends (see NameTable): holders do not count it, and it
    // is not one of the live objects.
    static std::unique_ptr<StringObject> makeKept(RuntimeState& runtime, std::string_view text);
    static CMPIStringFT* functionTable();

    std::string_view text() const { return std::string_view(chars_, size_); }
    // The text, NUL-terminated.
    const char* chars() const { return chars_; }

    std::unique_ptr<Object> cloneObject() const override;
    const char* typeName() const override { return "CMPIString"; }
    std::string describe() const override { return std::string(text()); }

    // Frees the one allocation make() took for the object and its characters.
    static void operator delete(void* memory) { ::operator delete(memory); }

  private:
    friend class SharedString;

    // Copies `text` into the characters that follow the object; only place() places one.
    StringObject(RuntimeState& runtime, std::string_view text, bool kept);
    static std::unique_ptr<StringObject> place(RuntimeState& runtime, std::string_view text,
                                               bool kept);

    size_t size_;
    char* chars_;
    const bool kept_;
    // Holders through SharedString; 0 for a kept string and for a string owned any other way.
    mutable std::atomic<unsigned> holders_{0};
};

}  // namespace cimbroker
