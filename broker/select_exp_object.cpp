#include "broker/select_exp_object.h"

#include "broker/service_call.h"

namespace cimbroker {
namespace {

constexpr char kGetString[] = "getString";
constexpr char kEvaluate[] = "evaluate";
constexpr char kGetDoc[] = "getDOC";
constexpr char kGetCod[] = "getCOD";
constexpr char kEvaluateUsingAccessor[] = "evaluateUsingAccessor";

CMPISelectExpFT selectExpTable = {
    CMPICurrentVersion,
    releaseByCaller<CMPISelectExp>,
    cloneForCaller<SelectExpObject, CMPISelectExp>,
    Unsupported<SelectExpObject, decltype(CMPISelectExpFT::evaluate), kEvaluate>::call,
    describeForCaller<SelectExpObject, CMPISelectExp, kGetString>,
    Unsupported<SelectExpObject, decltype(CMPISelectExpFT::getDOC), kGetDoc>::call,
    Unsupported<SelectExpObject, decltype(CMPISelectExpFT::getCOD), kGetCod>::call,
    Unsupported<SelectExpObject, decltype(CMPISelectExpFT::evaluateUsingAccessor),
                kEvaluateUsingAccessor>::call,
};

}  // namespace

SelectExpObject::SelectExpObject(RuntimeState& runtime, std::string query)
    : Encapsulated(runtime), query_(std::move(query)) {}

CMPISelectExpFT* SelectExpObject::functionTable() {
    return &selectExpTable;
}

std::unique_ptr<Object> SelectExpObject::cloneObject() const {
    return std::make_unique<SelectExpObject>(runtime(), query_);
}

}  // namespace cimbroker
