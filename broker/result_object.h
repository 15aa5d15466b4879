// CMPIResult that keeps what a provider returns: clones of the instances and paths, copies of the
// data, in order, and the number of returnDone calls. Owned by a cimbroker::Result.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "broker/instance_object.h"
#include "broker/object_model.h"
#include "broker/object_path_object.h"
#include "broker/owned_value.h"
#include "cmpift.h"

namespace cimbroker {

class ResultObject : public Encapsulated<CMPIResult, ResultObject> {
  public:
    explicit ResultObject(RuntimeState& runtime);
    static CMPIResultFT* functionTable();

    CMPIStatus addInstance(const CMPIInstance* instance);
    CMPIStatus addObjectPath(const CMPIObjectPath* path);
    CMPIStatus addData(const CMPIValue* value, CMPIType type);
    void markDone() { ++doneCount_; }

    const std::vector<const CMPIInstance*>& instances() const { return instanceHandles_; }
    const std::vector<const CMPIObjectPath*>& objectPaths() const { return pathHandles_; }
    const std::vector<CMPIData>& data() const { return dataView_; }
    int doneCount() const { return doneCount_; }

    std::unique_ptr<Object> cloneObject() const override;
    const char* typeName() const override { return "CMPIResult"; }
    std::string describe() const override;

  private:
    void keepInstance(std::unique_ptr<InstanceObject> instance);
    void keepObjectPath(std::unique_ptr<ObjectPathObject> path);
    void keepData(OwnedValue value);

    std::vector<std::unique_ptr<InstanceObject>> instances_;
    std::vector<const CMPIInstance*> instanceHandles_;
    std::vector<std::unique_ptr<ObjectPathObject>> paths_;
    std::vector<const CMPIObjectPath*> pathHandles_;
    std::vector<OwnedValue> data_;
    std::vector<CMPIData> dataView_;
    int doneCount_ = 0;
};

}  // namespace cimbroker
