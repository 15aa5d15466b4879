// CMPIArray: a fixed number of elements of one type, all null until set. An array made for
// CMPI_chars holds CMPI_string elements and takes CMPI_chars values.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "broker/object_model.h"
#include "broker/owned_value.h"
#include "cmpift.h"

namespace cimbroker {

class ArrayObject : public Encapsulated<CMPIArray, ArrayObject> {
  public:
    // Largest size newArray accepts; bigger requests are refused rather than exhausting memory.
    static constexpr CMPICount kMaxSize = 1u << 20;

    // `elementType` in stored form (see storedType), without the array bit.
    ArrayObject(RuntimeState& runtime, CMPIType elementType, CMPICount size);
    static CMPIArrayFT* functionTable();

    CMPIType elementType() const { return elementType_; }
    const std::vector<OwnedValue>& elements() const { return elements_; }
    CMPIStatus setElement(CMPICount index, const CMPIValue* value, CMPIType type);

    std::unique_ptr<ArrayObject> cloneArray() const;
    std::unique_ptr<Object> cloneObject() const override { return cloneArray(); }
    const char* typeName() const override { return "CMPIArray"; }
    std::string describe() const override;

  private:
    CMPIType elementType_;
    std::vector<OwnedValue> elements_;
};

}  // namespace cimbroker
