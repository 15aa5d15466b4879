// A minimal CMPI provider for the loader tests: an instance MI and an indication MI (no
// association factory), and a count of cleanup calls that the tests read through
// hostTestCleanups().
#include "cmpidt.h"
#include "cmpift.h"

namespace {

int cleanups = 0;

CMPIStatus ok() {
    return CMPIStatus{CMPI_RC_OK, nullptr};
}
CMPIStatus notSupported() {
    return CMPIStatus{CMPI_RC_ERR_NOT_SUPPORTED, nullptr};
}

CMPIStatus cleanup(CMPIInstanceMI*, const CMPIContext*, CMPIBoolean) {
    ++cleanups;
    return ok();
}
CMPIStatus enumNames(CMPIInstanceMI*, const CMPIContext*, const CMPIResult* r,
                     const CMPIObjectPath*) {
    r->ft->returnDone(r);
    return ok();
}
CMPIStatus enumInstances(CMPIInstanceMI*, const CMPIContext*, const CMPIResult* r,
                         const CMPIObjectPath*, const char**) {
    r->ft->returnDone(r);
    return ok();
}
CMPIStatus getInstance(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                       const CMPIObjectPath*, const char**) {
    return CMPIStatus{CMPI_RC_ERR_NOT_FOUND, nullptr};
}
CMPIStatus createInstance(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                          const CMPIObjectPath*, const CMPIInstance*) {
    return notSupported();
}
CMPIStatus modifyInstance(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                          const CMPIObjectPath*, const CMPIInstance*, const char**) {
    return notSupported();
}
CMPIStatus deleteInstance(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                          const CMPIObjectPath*) {
    return notSupported();
}
CMPIStatus execQuery(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*, const CMPIObjectPath*,
                     const char*, const char*) {
    return notSupported();
}

CMPIInstanceMIFT table = {
    100,           100,         "instanceHostTest", cleanup,        enumNames,
    enumInstances, getInstance, createInstance,     modifyInstance, deleteInstance,
    execQuery};
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
    return notSupported();
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
