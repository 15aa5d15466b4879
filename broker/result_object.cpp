#include "broker/result_object.h"

#include "broker/service_call.h"

namespace cimbroker {
namespace {

CMPIStatus resultReturnData(const CMPIResult* rslt, const CMPIValue* value, const CMPIType type) {
    return runUpdate<ResultObject>(rslt, "returnData", nullptr,
                                   [&](ResultObject& self) { return self.addData(value, type); });
}

CMPIStatus resultReturnInstance(const CMPIResult* rslt, const CMPIInstance* inst) {
    return runUpdate<ResultObject>(rslt, "returnInstance", nullptr,
                                   [inst](ResultObject& self) { return self.addInstance(inst); });
}

CMPIStatus resultReturnObjectPath(const CMPIResult* rslt, const CMPIObjectPath* ref) {
    return runUpdate<ResultObject>(rslt, "returnObjectPath", nullptr,
                                   [ref](ResultObject& self) { return self.addObjectPath(ref); });
}

CMPIStatus resultReturnDone(const CMPIResult* rslt) {
    return runUpdate<ResultObject>(rslt, "returnDone", nullptr, [](ResultObject& self) {
        self.markDone();
        return okStatus();
    });
}

CMPIResultFT resultTable = {
    CMPICurrentVersion, releaseByCaller<CMPIResult>, cloneForCaller<ResultObject, CMPIResult>,
    resultReturnData,   resultReturnInstance,        resultReturnObjectPath,
    resultReturnDone,
};

}  // namespace

ResultObject::ResultObject(RuntimeState& runtime) : Encapsulated(runtime) {}

CMPIResultFT* ResultObject::functionTable() {
    return &resultTable;
}

CMPIStatus ResultObject::addInstance(const CMPIInstance* instance) {
    const InstanceObject* ours = InstanceObject::from(instance, runtime());
    if (ours == nullptr) {
        return errorStatus(
            runtime(), instance ? CMPI_RC_ERR_INVALID_HANDLE : CMPI_RC_ERR_INVALID_PARAMETER,
            "returnInstance: the instance is null or not made by this runtime's broker");
    }
    keepInstance(ours->cloneInstance());
    return okStatus();
}

CMPIStatus ResultObject::addObjectPath(const CMPIObjectPath* path) {
    const ObjectPathObject* ours = ObjectPathObject::from(path, runtime());
    if (ours == nullptr) {
        return errorStatus(
            runtime(), path ? CMPI_RC_ERR_INVALID_HANDLE : CMPI_RC_ERR_INVALID_PARAMETER,
            "returnObjectPath: the path is null or not made by this runtime's broker");
    }
    keepObjectPath(ours->clonePath());
    return okStatus();
}

CMPIStatus ResultObject::addData(const CMPIValue* value, CMPIType type) {
    OwnedValue copy;
    std::string reason;
    const CMPIrc rc = OwnedValue::copyFrom(runtime(), value, type, copy, reason);
    if (rc != CMPI_RC_OK) {
        return errorStatus(runtime(), rc, "returnData: " + reason);
    }
    keepData(std::move(copy));
    return okStatus();
}

void ResultObject::keepInstance(std::unique_ptr<InstanceObject> instance) {
    instanceHandles_.push_back(instance->cmpi());
    instances_.push_back(std::move(instance));
}

void ResultObject::keepObjectPath(std::unique_ptr<ObjectPathObject> path) {
    pathHandles_.push_back(path->cmpi());
    paths_.push_back(std::move(path));
}

void ResultObject::keepData(OwnedValue value) {
    dataView_.push_back(value.data());
    data_.push_back(std::move(value));
}

std::unique_ptr<Object> ResultObject::cloneObject() const {
    auto copy = std::make_unique<ResultObject>(runtime());
    for (const auto& instance : instances_) {
        copy->keepInstance(instance->cloneInstance());
    }
    for (const auto& path : paths_) {
        copy->keepObjectPath(path->clonePath());
    }
    for (const OwnedValue& value : data_) {
        copy->keepData(value.clone());
    }
    copy->doneCount_ = doneCount_;
    return copy;
}

std::string ResultObject::describe() const {
    return "CMPIResult: " + std::to_string(instances_.size()) + " instances, " +
           std::to_string(paths_.size()) + " paths, " + std::to_string(data_.size()) + " values, " +
           std::to_string(doneCount_) + " returnDone";
}

}  // namespace cimbroker
