// CMPISelectExp: a filter's query as the host hands it to an indication provider's filter calls
// (authorizeFilter, mustPoll, activateFilter, deActivateFilter). getString answers the query text;
// the broker keeps no query engine (that is the host's), so evaluate, getDOC, getCOD and
// evaluateUsingAccessor answer not-supported.
#pragma once

#include <memory>
#include <string>

#include "broker/object_model.h"
#include "cmpift.h"

namespace cimbroker {

class SelectExpObject : public Encapsulated<CMPISelectExp, SelectExpObject> {
  public:
    SelectExpObject(RuntimeState& runtime, std::string query);
    static CMPISelectExpFT* functionTable();

    std::unique_ptr<Object> cloneObject() const override;
    const char* typeName() const override { return "CMPISelectExp"; }
    std::string describe() const override { return query_; }

  private:
    const std::string query_;
};

}  // namespace cimbroker
