#include "broker/enumeration_object.h"

#include "broker/arena.h"
#include "broker/service_call.h"

namespace cimbroker {
namespace {

CMPIData enumerationGetNext(const CMPIEnumeration* en, CMPIStatus* rc) {
    return runQuery<EnumerationObject>(
        en, rc, "getNext", [](EnumerationObject& self, CMPIStatus& status) {
            if (!self.hasNext()) {
                status = errorStatus(self.runtime(), CMPI_RC_ERR_NOT_FOUND,
                                     "getNext: the enumeration has no more elements");
            }
            return self.takeNext();
        });
}

CMPIBoolean enumerationHasNext(const CMPIEnumeration* en, CMPIStatus* rc) {
    return runQuery<EnumerationObject>(en, rc, "hasNext", [](EnumerationObject& self, CMPIStatus&) {
        return static_cast<CMPIBoolean>(self.hasNext() ? 1 : 0);
    });
}

CMPIArray* enumerationToArray(const CMPIEnumeration* en, CMPIStatus* rc) {
    return runQuery<EnumerationObject>(en, rc, "toArray", [](EnumerationObject& self, CMPIStatus&) {
        return arenaFor(self.runtime()).adopt(self.items().cloneArray()).cmpi();
    });
}

CMPIEnumerationFT enumerationTable = {
    CMPICurrentVersion,
    releaseByCaller<CMPIEnumeration>,
    cloneForCaller<EnumerationObject, CMPIEnumeration>,
    enumerationGetNext,
    enumerationHasNext,
    enumerationToArray,
};

}  // namespace

EnumerationObject::EnumerationObject(RuntimeState& runtime, std::unique_ptr<ArrayObject> items)
    : Encapsulated(runtime), items_(std::move(items)) {}

CMPIEnumerationFT* EnumerationObject::functionTable() {
    return &enumerationTable;
}

CMPIData EnumerationObject::takeNext() {
    if (!hasNext()) {
        return nullData();
    }
    return items_->elements()[next_++].data();
}

std::unique_ptr<Object> EnumerationObject::cloneObject() const {
    auto copy = std::make_unique<EnumerationObject>(runtime(), items_->cloneArray());
    copy->next_ = next_;
    return copy;
}

}  // namespace cimbroker
