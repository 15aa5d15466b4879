// A minimal CMPI provider for the loader tests: an instance MI only (no association factory),
// and a count of cleanup calls that the tests read through hostTestCleanups(). The loader calls
// nothing but cleanup, so the table's other slots stay empty.
#include "cmpidt.h"
#include "cmpift.h"

namespace {

int cleanups = 0;

CMPIStatus cleanup(CMPIInstanceMI*, const CMPIContext*, CMPIBoolean) {
    ++cleanups;
    return CMPIStatus{CMPI_RC_OK, nullptr};
}

CMPIInstanceMIFT table = {
    100,     100,    "instanceHostTest", cleanup, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr};
CMPIInstanceMI record = {nullptr, &table};

}  // namespace

extern "C" {

CMPIInstanceMI* HostTest_Create_InstanceMI(const CMPIBroker*, const CMPIContext*, CMPIStatus*) {
    return &record;
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
