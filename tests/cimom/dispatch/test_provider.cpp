// A minimal CMPI provider for the loader tests: an instance MI and an indication MI (no
// association factory), and a count of cleanup calls that the tests read through
// hostTestCleanups(). The loader calls nothing of the instance MI but cleanup, so its other
// slots stay empty.
#include "cmpidt.h"
#include "cmpift.h"

namespace {

int cleanups = 0;

CMPIStatus ok() { return CMPIStatus{CMPI_RC_OK, nullptr}; }

CMPIStatus cleanup(CMPIInstanceMI*, const CMPIContext*, CMPIBoolean) {
    ++cleanups;
    return ok();
}

CMPIInstanceMIFT table = {
    100,     100,    "instanceHostTest", cleanup, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr};
CMPIInstanceMI record = {nullptr, &table};

CMPIStatus indicationCleanup(CMPIIndicationMI*, const CMPIContext*, CMPIBoolean) {
    ++cleanups;
    return ok();
}
CMPIStatus filterCall(CMPIIndicationMI*, const CMPIContext*, const CMPISelectExp*, const char*,
                      const CMPIObjectPath*, CMPIBoolean) {
    return ok();
}
CMPIStatus authorizeFilter(CMPIIndicationMI*, const CMPIContext*, const CMPISelectExp*,
                           const char*, const CMPIObjectPath*, const char*) {
    return ok();
}
CMPIStatus mustPoll(CMPIIndicationMI*, const CMPIContext*, const CMPISelectExp*, const char*,
                    const CMPIObjectPath*) {
    return CMPIStatus{CMPI_RC_ERR_NOT_SUPPORTED, nullptr};
}
CMPIStatus enabling(CMPIIndicationMI*, const CMPIContext*) {
    return ok();
}

CMPIIndicationMIFT indicationTable = {
    100,        100,        "indicationHostTest", indicationCleanup, authorizeFilter, mustPoll,
    filterCall, filterCall, enabling,             enabling};
CMPIIndicationMI indicationRecord = {nullptr, &indicationTable};

}  // namespace

extern "C" {

CMPIInstanceMI* HostTest_Create_InstanceMI(const CMPIBroker*, const CMPIContext*, CMPIStatus*) {
    return &record;
}

CMPIIndicationMI* HostTest_Create_IndicationMI(const CMPIBroker*, const CMPIContext*, CMPIStatus*) {
    return &indicationRecord;
}

// Refuses, the way a provider reports that it cannot start.
CMPIInstanceMI* HostTestRefusing_Create_InstanceMI(const CMPIBroker*, const CMPIContext*,
                                                   CMPIStatus* rc) {
    if (rc != nullptr) {
        *rc = CMPIStatus{CMPI_RC_ERR_FAILED, nullptr};
    }
    return nullptr;
}

int hostTestCleanups() {
    return cleanups;
}
}
