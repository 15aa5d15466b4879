#include "broker/array_object.h"

#include "broker/cmpi_read.h"
#include "broker/service_call.h"

namespace cimbroker {
namespace {

CMPICount arrayGetSize(const CMPIArray* ar, CMPIStatus* rc) {
    return runQuery<ArrayObject>(ar, rc, "getSize", [](ArrayObject& self, CMPIStatus&) {
        return static_cast<CMPICount>(self.elements().size());
    });
}

CMPIType arrayGetSimpleType(const CMPIArray* ar, CMPIStatus* rc) {
    return runQuery<ArrayObject>(ar, rc, "getSimpleType",
                                 [](ArrayObject& self, CMPIStatus&) { return self.elementType(); });
}

CMPIData arrayGetElementAt(const CMPIArray* ar, CMPICount index, CMPIStatus* rc) {
    return runQuery<ArrayObject>(
        ar, rc, "getElementAt", [index](ArrayObject& self, CMPIStatus& status) {
            if (index >= self.elements().size()) {
                status = errorStatus(self.runtime(), CMPI_RC_ERR_NO_SUCH_PROPERTY,
                                     "array index " + std::to_string(index) + " is out of range");
                return notFoundData();
            }
            return self.elements()[index].data();
        });
}

constexpr char kSetElementAt[] = "setElementAt";

CMPIArrayFT arrayTable = {
    CMPICurrentVersion,
    releaseByCaller<CMPIArray>,
    cloneForCaller<ArrayObject, CMPIArray>,
    arrayGetSize,
    arrayGetSimpleType,
    arrayGetElementAt,
    Forward<ArrayObject, decltype(CMPIArrayFT::setElementAt), kSetElementAt,
            &ArrayObject::setElement>::call,
};

}  // namespace

ArrayObject::ArrayObject(RuntimeState& runtime, CMPIType elementType, CMPICount size)
    : Encapsulated(runtime), elementType_(elementType) {
    elements_.reserve(size);
    for (CMPICount i = 0; i < size; ++i) {
        elements_.push_back(OwnedValue::nullOf(elementType));
    }
}

CMPIArrayFT* ArrayObject::functionTable() {
    return &arrayTable;
}

CMPIStatus ArrayObject::setElement(CMPICount index, const CMPIValue* value, CMPIType type) {
    if (index >= elements_.size()) {
        return errorStatus(runtime(), CMPI_RC_ERR_NO_SUCH_PROPERTY,
                           "array index " + std::to_string(index) + " is out of range");
    }
    if (storedType(type) != elementType_) {
        return errorStatus(runtime(), CMPI_RC_ERR_TYPE_MISMATCH,
                           "element of type " + std::to_string(type) + " set in an array of type " +
                               std::to_string(elementType_));
    }
    OwnedValue copy;
    std::string reason;
    const CMPIrc rc = OwnedValue::copyFrom(runtime(), value, type, &copy, &reason);
    if (rc != CMPI_RC_OK) {
        return errorStatus(runtime(), rc, reason);
    }
    elements_[index].retire(runtime());
    elements_[index] = std::move(copy);
    return okStatus();
}

std::unique_ptr<ArrayObject> ArrayObject::cloneArray() const {
    auto copy = std::make_unique<ArrayObject>(runtime(), elementType_, 0);
    for (const OwnedValue& element : elements_) {
        copy->elements_.push_back(element.clone());
    }
    return copy;
}

std::string ArrayObject::describe() const {
    CMPIData whole{};
    whole.type = static_cast<CMPIType>(elementType_ | CMPI_ARRAY);
    whole.state = CMPI_goodValue;
    whole.value.array = cmpi();
    return dataToString(whole);
}

}  // namespace cimbroker
