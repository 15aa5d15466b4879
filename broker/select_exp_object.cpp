#include "broker/select_exp_object.h"

#include "broker/arena.h"
#include "broker/service_call.h"
#include "broker/string_object.h"

namespace cimbroker {
namespace {

CMPIString* selectExpGetString(const CMPISelectExp* se, CMPIStatus* rc) {
    return runQuery<SelectExpObject>(se, rc, "getString", static_cast<CMPIString*>(nullptr),
                                     [](SelectExpObject& self, CMPIStatus&) {
                                         return makeStringInArena(self.runtime(), self.query())
                                             .cmpi();
                                     });
}

constexpr char kEvaluate[] = "evaluate";
constexpr char kGetDoc[] = "getDOC";
constexpr char kGetCod[] = "getCOD";
constexpr char kEvaluateUsingAccessor[] = "evaluateUsingAccessor";

CMPISelectExpFT selectExpTable = {
    CMPICurrentVersion,
    releaseByCaller<CMPISelectExp>,
    cloneForCaller<SelectExpObject, CMPISelectExp>,
    Unsupported<SelectExpObject, decltype(CMPISelectExpFT::evaluate), kEvaluate>::call,
    selectExpGetString,
    Unsupported<SelectExpObject, decltype(CMPISelectExpFT::getDOC), kGetDoc>::call,
    Unsupported<SelectExpObject, decltype(CMPISelectExpFT::getCOD), kGetCod>::call,
    Unsupported<SelectExpObject, decltype(CMPISelectExpFT::evaluateUsingAccessor),
                kEvaluateUsingAccessor>::call,
};

}  // namespace

SelectExpObject::SelectExpObject(RuntimeState& runtime, std::string query, std::string language)
    : Encapsulated(runtime), query_(std::move(query)), language_(std::move(language)) {}

CMPISelectExpFT* SelectExpObject::functionTable() {
    return &selectExpTable;
}

std::unique_ptr<Object> SelectExpObject::cloneObject() const {
    return std::make_unique<SelectExpObject>(runtime(), query_, language_);
}

}  // namespace cimbroker
