#include "broker/result_object.h"

#include "broker/service_call.h"

namespace cimbroker {
namespace {

constexpr char kReturnData[] = "returnData";
constexpr char kReturnInstance[] = "returnInstance";
constexpr char kReturnObjectPath[] = "returnObjectPath";

CMPIStatus resultReturnDone(const CMPIResult* rslt) {
    return runUpdate<ResultObject>(rslt, "returnDone", [](ResultObject& self) {
        self.markDone();
        return okStatus();
    });
}

CMPIResultFT resultTable = {
    CMPICurrentVersion,
    releaseByCaller<CMPIResult>,
    cloneForCaller<ResultObject, CMPIResult>,
    Forward<ResultObject, decltype(CMPIResultFT::returnData), kReturnData,
            &ResultObject::addData>::call,
    Forward<ResultObject, decltype(CMPIResultFT::returnInstance), kReturnInstance,
            &ResultObject::addInstance>::call,
    Forward<ResultObject, decltype(CMPIResultFT::returnObjectPath), kReturnObjectPath,
            &ResultObject::addObjectPath>::call,
    resultReturnDone,
};

}  // namespace

ResultObject::ResultObject(RuntimeState& runtime) : Encapsulated(runtime) {}

CMPIResultFT* ResultObject::functionTable() {
    return &resultTable;
}

CMPIStatus ResultObject::addInstance(const CMPIInstance* instance) {
    return keep(instances_, instance, "returnInstance: the instance");
}

CMPIStatus ResultObject::addObjectPath(const CMPIObjectPath* path) {
    return keep(paths_, path, "returnObjectPath: the path");
}

CMPIStatus ResultObject::addData(const CMPIValue* value, CMPIType type) {
    OwnedValue copy;
    std::string reason;
    const CMPIrc rc = OwnedValue::copyFrom(runtime(), value, type, &copy, &reason);
    if (rc != CMPI_RC_OK) {
        return errorStatus(runtime(), rc, "returnData: " + reason);
    }
    keepData(std::move(copy));
    return okStatus();
}

template <typename T, typename Cmpi>
CMPIStatus ResultObject::keep(Kept<T, Cmpi>& kept, const Cmpi* handle, const char* what) {
    T* object = T::from(handle, runtime());
    if (object == nullptr) {
        return errorStatus(runtime(),
                           handle ? CMPI_RC_ERR_INVALID_HANDLE : CMPI_RC_ERR_INVALID_PARAMETER,
                           std::string(what) + " is null or not made by this runtime's broker");
    }
    const size_t slot = kept.handles.size();
    kept.owned.emplace_back();
    kept.handles.push_back(object->cmpi());
    if (object->lendable()) {
        object->lendTo(*this, slot);
    } else {
        takeOver(object->cloneObject(), slot);
    }
    return okStatus();
}

template <typename T, typename Cmpi>
void ResultObject::own(Kept<T, Cmpi>& kept, std::unique_ptr<T> object, size_t slot) {
    kept.handles[slot] = object->cmpi();
    kept.owned[slot] = std::move(object);
}

void ResultObject::keepCopyOf(const Object& object, size_t slot) {
    takeOver(object.cloneObject(), slot);
}

void ResultObject::takeOver(std::unique_ptr<Object> object, size_t slot) {
    if (auto* instance = dynamic_cast<InstanceObject*>(object.get())) {
        object.release();
        own(instances_, std::unique_ptr<InstanceObject>(instance), slot);
    } else if (auto* path = dynamic_cast<ObjectPathObject*>(object.get())) {
        object.release();
        own(paths_, std::unique_ptr<ObjectPathObject>(path), slot);
    }
}

void ResultObject::keepData(OwnedValue value) {
    dataView_.push_back(value.data());
    data_.push_back(std::move(value));
}

std::unique_ptr<Object> ResultObject::cloneObject() const {
    auto copy = std::make_unique<ResultObject>(runtime());
    for (const CMPIInstance* instance : instances_.handles) {
        copy->addInstance(instance);
    }
    for (const CMPIObjectPath* path : paths_.handles) {
        copy->addObjectPath(path);
    }
    for (const OwnedValue& value : data_) {
        copy->keepData(value.clone());
    }
    copy->doneCount_ = doneCount_;
    return copy;
}

std::string ResultObject::describe() const {
    return "CMPIResult: " + std::to_string(instances_.handles.size()) + " instances, " +
           std::to_string(paths_.handles.size()) + " paths, " + std::to_string(data_.size()) +
           " values, " + std::to_string(doneCount_) + " returnDone";
}

}  // namespace cimbroker
