// CMPIDateTime: a point in time (microseconds since 1970 UTC) or an interval (microseconds).
#pragma once

#include <memory>
#include <string>

#include "broker/cim_datetime.h"
#include "broker/object_model.h"
#include "cmpift.h"

namespace cimbroker {

class DateTimeObject : public Encapsulated<CMPIDateTime, DateTimeObject> {
  public:
    DateTimeObject(RuntimeState& runtime, CimDateTime value);
    static CMPIDateTimeFT* functionTable();

    const CimDateTime& value() const { return value_; }

    std::unique_ptr<Object> cloneObject() const override;
    const char* typeName() const override { return "CMPIDateTime"; }
    std::string describe() const override { return formatCimDateTime(value_); }

  private:
    CimDateTime value_;
};

}  // namespace cimbroker
