#include "alert_provider/alert_mi.h"

#include <strings.h>

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "alert_provider/alert_indication.h"
#include "alert_provider/alert_service.h"
#include "platform/trace_point.h"

namespace {

CimpAlertService s_service;

// The classes a filter may select the alerts by.
const char* const kServedClasses[] = {kCimpAlertClassName, "CIM_AlertIndication",
                                      "CIM_ProcessIndication", "CIM_Indication"};

// Runs `body`, answering CMPI_RC_ERR_FAILED for anything it throws.
template <typename Body>
CMPIStatus guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        CIMP_TRACE(" ", "alert provider: call failed with an exception");
        return {CMPI_RC_ERR_FAILED, nullptr};
    }
}

CMPIStatus traced(const char* function, const CMPIStatus& status) {
    CIMP_TRACE(" %s,%X", "alert provider %s: exit rc=0x%X", function,
               static_cast<uint32_t>(status.rc));
    return status;
}

CMPIStatus alertCleanup(CMPIIndicationMI*, const CMPIContext*, CMPIBoolean) {
    return traced("cleanup", guarded([] { return s_service.cleanup(); }));
}

CMPIStatus alertAuthorizeFilter(CMPIIndicationMI*, const CMPIContext*, const CMPISelectExp*,
                                const char* className, const CMPIObjectPath*, const char*) {
    const bool served =
        className == nullptr ||
        std::any_of(std::begin(kServedClasses), std::end(kServedClasses),
                    [className](const char* served) { return strcasecmp(className, served) == 0; });
    return traced("authorizeFilter",
                  {served ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_CLASS, nullptr});
}

// Whatever the headers' mustPoll looks like (CMPI 2.1 adds a result): not-supported.
template <typename Slot>
struct MustPoll;
template <typename... Args>
struct MustPoll<CMPIStatus (*)(CMPIIndicationMI*, const CMPIContext*, Args...)> {
    static CMPIStatus call(CMPIIndicationMI*, const CMPIContext*, Args...) {
        return traced("mustPoll", {CMPI_RC_ERR_NOT_SUPPORTED, nullptr});
    }
};

CMPIStatus alertActivateFilter(CMPIIndicationMI*, const CMPIContext* context,
                               const CMPISelectExp*, const char*, const CMPIObjectPath*,
                               CMPIBoolean) {
    return traced("activateFilter",
                  guarded([context] { return s_service.activateFilter(context); }));
}

CMPIStatus alertDeActivateFilter(CMPIIndicationMI*, const CMPIContext*, const CMPISelectExp*,
                                 const char*, const CMPIObjectPath*, CMPIBoolean) {
    return traced("deActivateFilter", guarded([] { return s_service.deactivateFilter(); }));
}

CMPIStatus alertEnableIndications(CMPIIndicationMI*, const CMPIContext* context) {
    return traced("enableIndications", guarded([context] { return s_service.enable(context); }));
}

CMPIStatus alertDisableIndications(CMPIIndicationMI*, const CMPIContext*) {
    return traced("disableIndications", guarded([] { return s_service.disable(); }));
}

// Filled slot by slot: newer headers add slots (the filter collections of CMPI 2.1), left null.
CMPIIndicationMIFT functionTable() {
    CMPIIndicationMIFT table{};
    table.ftVersion = 100;
    table.miVersion = 100;
    table.miName = "indicationVesk_AlertIndicationProvider";
    table.cleanup = alertCleanup;
    table.authorizeFilter = alertAuthorizeFilter;
    table.mustPoll = MustPoll<decltype(CMPIIndicationMIFT::mustPoll)>::call;
    table.activateFilter = alertActivateFilter;
    table.deActivateFilter = alertDeActivateFilter;
    table.enableIndications = alertEnableIndications;
    table.disableIndications = alertDisableIndications;
    return table;
}

CMPIIndicationMIFT s_functionTable = functionTable();
CMPIIndicationMI s_indicationMI = {nullptr, &s_functionTable};

}  // namespace

extern "C" CMPIIndicationMI* Vesk_AlertIndicationProvider_Create_IndicationMI(
    const CMPIBroker* broker, const CMPIContext*) {
    s_service.setBroker(broker);
    return &s_indicationMI;
}
