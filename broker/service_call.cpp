#include "broker/service_call.h"

#include "broker/string_object.h"

namespace cimbroker {
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

CMPIStatus outOfMemory(RuntimeState& runtime, const char* service) noexcept {
    try {
        return errorStatus(runtime, CMPI_RC_ERR_FAILED, std::string(service) + ": out of memory");
    } catch (const std::bad_alloc&) {
        return CMPIStatus{CMPI_RC_ERR_FAILED, nullptr};
    }
}

}  // namespace cimbroker
