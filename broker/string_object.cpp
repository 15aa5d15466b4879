#include "broker/string_object.h"

#include <new>

#include "broker/service_call.h"

namespace cimbroker {
namespace {

char* stringGetCharPtr(const CMPIString* st, CMPIStatus* rc) {
    return runQuery<StringObject>(st, rc, "getCharPtr", [](StringObject& self, CMPIStatus&) {
        return static_cast<char*>(self.cmpi()->hdl);
    });
}

CMPIStringFT stringTable = {
    CMPICurrentVersion,
    releaseByCaller<CMPIString>,
    cloneForCaller<StringObject, CMPIString>,
    stringGetCharPtr,
};

}  // namespace

StringObject::StringObject(RuntimeState& runtime, std::string_view text, bool kept)
    : Encapsulated(runtime, !kept),
      size_(text.size()),
      chars_(reinterpret_cast<char*>(this + 1)),
      kept_(kept) {
    text.copy(chars_, size_);
    chars_[size_] = '\0';
    setHdl(chars_);
}

std::unique_ptr<StringObject> StringObject::place(RuntimeState& runtime, std::string_view text,
                                                  bool kept) {
    void* memory = ::operator new(sizeof(StringObject) + text.size() + 1);
    return std::unique_ptr<StringObject>(new (memory) StringObject(runtime, text, kept));
}

std::unique_ptr<StringObject> StringObject::make(RuntimeState& runtime, std::string_view text) {
    return place(runtime, text, false);
}

std::unique_ptr<StringObject> StringObject::makeKept(RuntimeState& runtime, std::string_view text) {
    return place(runtime, text, true);
}

CMPIStringFT* StringObject::functionTable() {
    return &stringTable;
}

std::unique_ptr<Object> StringObject::cloneObject() const {
    return make(runtime(), text());
}

}  // namespace cimbroker
