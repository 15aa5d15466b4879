// CMPIResult that keeps what a provider returns: the instances and paths, copies of the data, in
// order, and the number of returnDone calls. Owned by a cimbroker::Result.
//
// An instance or path that an arena owns is borrowed rather than cloned: the Result reads the
// provider's own object until that object is about to change (then the Result keeps a clone of it
// as it was returned) or its arena is released (then the Result takes it over). Any other object,
// and one already lent, is cloned. A value read out of a returned object is the broker's, and
// changing it in place is not seen through here.
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

class ResultObject : public Encapsulated<CMPIResult, ResultObject>, private Borrower {
  public:
    explicit ResultObject(RuntimeState& runtime);
    static CMPIResultFT* functionTable();

    CMPIStatus addInstance(const CMPIInstance* instance);
    CMPIStatus addObjectPath(const CMPIObjectPath* path);
    CMPIStatus addData(const CMPIValue* value, CMPIType type);
    void markDone() { ++doneCount_; }

    const std::vector<const CMPIInstance*>& instances() const { return instances_.handles; }
    const std::vector<const CMPIObjectPath*>& objectPaths() const { return paths_.handles; }
    const std::vector<CMPIData>& data() const { return dataView_; }
    int doneCount() const { return doneCount_; }

    std::unique_ptr<Object> cloneObject() const override;
    const char* typeName() const override { return "CMPIResult"; }
    std::string describe() const override;

  private:
    // The objects of one kind, in order: owned[i] is null while handles[i] is borrowed, a loan that
    // ends with the Result.
    template <typename T, typename Cmpi>
    struct Kept {
        ~Kept() {
            for (size_t i = 0; i < handles.size(); ++i) {
                if (!owned[i]) {
                    T::from(handles[i])->endLoan();
                }
            }
        }
        std::vector<std::unique_ptr<T>> owned;
        std::vector<const Cmpi*> handles;
    };

    // Keeps `handle` when it is an object of this runtime; `what` names it in the error otherwise.
    template <typename T, typename Cmpi>
    CMPIStatus keep(Kept<T, Cmpi>& kept, const Cmpi* handle, const char* what);
    template <typename T, typename Cmpi>
    static void own(Kept<T, Cmpi>& kept, std::unique_ptr<T> object, size_t slot);
    void keepData(OwnedValue value);

    void keepCopyOf(const Object& object, size_t slot) override;
    void takeOver(std::unique_ptr<Object> object, size_t slot) override;

    Kept<InstanceObject, CMPIInstance> instances_;
    Kept<ObjectPathObject, CMPIObjectPath> paths_;
    std::vector<OwnedValue> data_;
    std::vector<CMPIData> dataView_;
    int doneCount_ = 0;
};

}  // namespace cimbroker
