#include "broker/service_call.h"

#include "broker/string_object.h"

namespace cimbroker {
namespace {

thread_local bool tUninstrumented = false;

}  // namespace

CMPIStatus okStatus() {
    return CMPIStatus{CMPI_RC_OK, nullptr};
}

CMPIStatus errorStatus(RuntimeState& runtime, CMPIrc rc, const std::string& message) {
    return CMPIStatus{rc, makeStringInArena(runtime, message).cmpi()};
}

CMPIStatus invalidHandleStatus() {
    return CMPIStatus{CMPI_RC_ERR_INVALID_HANDLE, nullptr};
}

CMPIData nullData() {
    CMPIData data{};
    data.type = CMPI_null;
    data.state = CMPI_nullValue;
    return data;
}

CMPIData notFoundData() {
    CMPIData data{};
    data.type = CMPI_null;
    data.state = CMPI_notFound;
    return data;
}

ServiceCall::ServiceCall(RuntimeState& runtime, const char* service, const char* qualifier)
    : runtime_(runtime) {
    const bool logging = runtime.calls.enabled();
    const bool armed = runtime.faults.armed();
    if ((!logging && !armed) || tUninstrumented) {
        return;
    }
    const std::string qualified =
        qualifier != nullptr ? std::string(service) + ":" + qualifier : std::string();
    if (logging) {
        runtime.calls.record(qualified.empty() ? std::string(service) : qualified);
    }
    if (armed) {
        fault_ = runtime.faults.consult(service, qualified);
    }
}

UninstrumentedScope::UninstrumentedScope() : previous_(tUninstrumented) {
    tUninstrumented = true;
}

UninstrumentedScope::~UninstrumentedScope() {
    tUninstrumented = previous_;
}

CMPIStatus ServiceCall::faultStatus() const {
    if (!fault_ || fault_->kind == Fault::Kind::Null) {
        return okStatus();
    }
    return errorStatus(runtime_, fault_->rc, fault_->message);
}

}  // namespace cimbroker
