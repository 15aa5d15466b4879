// CMPIString: immutable text. Its hdl points at the NUL-terminated character data, the shortcut
// providers rely on, and getCharPtr answers the same pointer.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "broker/object_model.h"
#include "cmpift.h"

namespace cimbroker {

class StringObject : public Encapsulated<CMPIString, StringObject> {
  public:
    StringObject(RuntimeState& runtime, std::string text);
    static CMPIStringFT* functionTable();

    const std::string& text() const { return text_; }

    std::unique_ptr<Object> cloneObject() const override;
    const char* typeName() const override { return "CMPIString"; }
    std::string describe() const override { return text_; }

  private:
    friend class SharedString;

    std::string text_;
    // Holders through SharedString; 0 for a string owned any other way.
    mutable std::atomic<unsigned> holders_{0};
};

}  // namespace cimbroker
