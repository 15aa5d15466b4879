#include "broker/string_object.h"

#include "broker/service_call.h"

namespace cimbroker {
namespace {

char* stringGetCharPtr(const CMPIString* st, CMPIStatus* rc) {
    return runQuery<StringObject>(
        st, rc, "getCharPtr", static_cast<char*>(nullptr),
        [](StringObject& self, CMPIStatus&) { return static_cast<char*>(self.cmpi()->hdl); });
}

CMPIStringFT stringTable = {
    CMPICurrentVersion,
    releaseByCaller<CMPIString>,
    cloneForCaller<StringObject, CMPIString>,
    stringGetCharPtr,
};

}  // namespace

StringObject::StringObject(RuntimeState& runtime, std::string text)
    : Encapsulated(runtime), text_(std::move(text)) {
    setHdl(text_.data());
}

CMPIStringFT* StringObject::functionTable() {
    return &stringTable;
}

std::unique_ptr<Object> StringObject::cloneObject() const {
    return std::make_unique<StringObject>(runtime(), text_);
}

}  // namespace cimbroker
