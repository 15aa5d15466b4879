// CMPIEnumeration: a cursor over its own clone of an array of paths or instances.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "broker/array_object.h"
#include "broker/object_model.h"
#include "cmpift.h"

namespace cimbroker {

class EnumerationObject : public Encapsulated<CMPIEnumeration, EnumerationObject> {
  public:
    // Takes over `items`; starts before its first element.
    EnumerationObject(RuntimeState& runtime, std::unique_ptr<ArrayObject> items);
    static CMPIEnumerationFT* functionTable();

    const ArrayObject& items() const { return *items_; }
    bool hasNext() const { return next_ < items_->elements().size(); }
    // The next element, or null data when there is none.
    CMPIData takeNext();

    std::unique_ptr<Object> cloneObject() const override;
    const char* typeName() const override { return "CMPIEnumeration"; }
    std::string describe() const override { return items_->describe(); }

  private:
    std::unique_ptr<ArrayObject> items_;
    size_t next_ = 0;
};

}  // namespace cimbroker
