#include "broker/service_call.h"

#include "broker/string_object.h"

namespace cimbroker {
namespace {

thread_local bool tUninstrumented = false;

}  // namespace

CMPIStatus okStatus() {
    return CMPIStatus{CMPI_RC_OK, nullptr};
}

CMPIStatus notSupported(RuntimeState& runtime, const char* service) {
    return errorStatus(runtime, CMPI_RC_ERR_NOT_SUPPORTED,
                       std::string(service) + " is not supported by this broker");
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

void ServiceCall::consult(CallHook& hook, const char* service, const char* qualifier) {
    if (!tUninstrumented) {
        fault_ = hook.onCall(service, qualifier);
    }
}

UninstrumentedScope::UninstrumentedScope() : previous_(tUninstrumented) {
    tUninstrumented = true;
}

UninstrumentedScope::~UninstrumentedScope() {
    tUninstrumented = previous_;
}

CMPIStatus ServiceCall::faultStatus() const {
    if (!fault_ || fault_->answersEmpty) {
        return okStatus();
    }
    return errorStatus(runtime_, fault_->rc, fault_->message);
}

}  // namespace cimbroker
