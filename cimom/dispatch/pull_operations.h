// PullOperations: the pull operations of DSP0200 1.3 over the router's enumerations. An open
// operation runs the enumeration it stands for (OpenEnumerateInstances that of
// EnumerateInstances, OpenQueryInstances that of ExecQuery, and so on), encodes every object at
// once and hands them to the context table; pulls answer from the table, each only from the
// enumerations of its own kind. FilterQuery, ContinueOnError, ReturnQueryResultClass and
// EnumerationCount are refused with the codes DSP0200 gives for a server without them.
//
// Thread-safe: the table is; run each call inside the request's own RequestScope.
#pragma once

#include <string>

#include "cimom/cim/operation.h"
#include "cimom/dispatch/enumeration_context_table.h"
#include "cimom/dispatch/router.h"

namespace cimhost {

struct PullAnswer {
    Status status;
    std::string body;  // the whole CIM-XML response, an ERROR when status is not OK
};

class PullOperations {
  public:
    static bool handles(OperationKind kind);

    // `host` fills the paths of returned objects that have none.
    PullAnswer run(const Operation& op, const Router& router, const CMPIContext* context,
                   const std::string& host);

  private:
    EnumerationBatch open(const Operation& op, const Router& router, const CMPIContext* context,
                          const std::string& host);

    EnumerationContextTable table_;
};

}  // namespace cimhost
