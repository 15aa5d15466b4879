#include "broker/broker_upcalls.h"

#include <string>

#include "broker/caller_owned.h"
#include "broker/entry_list_objects.h"
#include "broker/service_call.h"

namespace cimbroker {
namespace {

CMPIStatus statusNotSupported(const CMPIBroker* mb, const char* service) {
    return runUpdate<RuntimeState>(mb, service, nullptr, [service](RuntimeState& runtime) {
        return notSupported(runtime, service);
    });
}

// The new thread's context: a copy of the caller's, owned by the thread until detachThread.
CMPIContext* prepareAttachThread(const CMPIBroker* mb, const CMPIContext* ctx) {
    return runQuery<RuntimeState>(
        mb, nullptr, "prepareAttachThread", static_cast<CMPIContext*>(nullptr),
        [ctx](RuntimeState& runtime, CMPIStatus&) {
            const ContextObject* ours = ContextObject::from(ctx);
            std::unique_ptr<Object> copy =
                ours != nullptr ? ours->cloneObject() : std::make_unique<ContextObject>(runtime);
            return static_cast<CMPIContext*>(handToCaller(std::move(copy)));
        });
}

CMPIStatus attachThread(const CMPIBroker* mb, const CMPIContext*) {
    return runUpdate<RuntimeState>(mb, "attachThread", nullptr,
                                   [](RuntimeState&) { return okStatus(); });
}

CMPIStatus detachThread(const CMPIBroker* mb, const CMPIContext* ctx) {
    return runUpdate<RuntimeState>(mb, "detachThread", nullptr, [ctx](RuntimeState&) {
        takeBackFromCaller(ctx);
        return okStatus();
    });
}

CMPIStatus deliverIndication(const CMPIBroker* mb, const CMPIContext*, const char*,
                             const CMPIInstance*) {
    return statusNotSupported(mb, "deliverIndication");
}

CMPIEnumeration* enumerateInstanceNames(const CMPIBroker* mb, const CMPIContext*,
                                        const CMPIObjectPath*, CMPIStatus* rc) {
    return answerNotSupported(mb, rc, "enumerateInstanceNames",
                              static_cast<CMPIEnumeration*>(nullptr));
}

CMPIInstance* getInstance(const CMPIBroker* mb, const CMPIContext*, const CMPIObjectPath*,
                          const char**, CMPIStatus* rc) {
    return answerNotSupported(mb, rc, "getInstance", static_cast<CMPIInstance*>(nullptr));
}

CMPIObjectPath* createInstance(const CMPIBroker* mb, const CMPIContext*, const CMPIObjectPath*,
                               const CMPIInstance*, CMPIStatus* rc) {
    return answerNotSupported(mb, rc, "createInstance", static_cast<CMPIObjectPath*>(nullptr));
}

CMPIStatus modifyInstance(const CMPIBroker* mb, const CMPIContext*, const CMPIObjectPath*,
                          const CMPIInstance*, const char**) {
    return statusNotSupported(mb, "modifyInstance");
}

CMPIStatus deleteInstance(const CMPIBroker* mb, const CMPIContext*, const CMPIObjectPath*) {
    return statusNotSupported(mb, "deleteInstance");
}

CMPIEnumeration* execQuery(const CMPIBroker* mb, const CMPIContext*, const CMPIObjectPath*,
                           const char*, const char*, CMPIStatus* rc) {
    return answerNotSupported(mb, rc, "execQuery", static_cast<CMPIEnumeration*>(nullptr));
}

CMPIEnumeration* enumerateInstances(const CMPIBroker* mb, const CMPIContext*, const CMPIObjectPath*,
                                    const char**, CMPIStatus* rc) {
    return answerNotSupported(mb, rc, "enumerateInstances", static_cast<CMPIEnumeration*>(nullptr));
}

CMPIEnumeration* associators(const CMPIBroker* mb, const CMPIContext*, const CMPIObjectPath*,
                             const char*, const char*, const char*, const char*, const char**,
                             CMPIStatus* rc) {
    return answerNotSupported(mb, rc, "associators", static_cast<CMPIEnumeration*>(nullptr));
}

CMPIEnumeration* associatorNames(const CMPIBroker* mb, const CMPIContext*, const CMPIObjectPath*,
                                 const char*, const char*, const char*, const char*,
                                 CMPIStatus* rc) {
    return answerNotSupported(mb, rc, "associatorNames", static_cast<CMPIEnumeration*>(nullptr));
}

CMPIEnumeration* references(const CMPIBroker* mb, const CMPIContext*, const CMPIObjectPath*,
                            const char*, const char*, const char**, CMPIStatus* rc) {
    return answerNotSupported(mb, rc, "references", static_cast<CMPIEnumeration*>(nullptr));
}

CMPIEnumeration* referenceNames(const CMPIBroker* mb, const CMPIContext*, const CMPIObjectPath*,
                                const char*, const char*, CMPIStatus* rc) {
    return answerNotSupported(mb, rc, "referenceNames", static_cast<CMPIEnumeration*>(nullptr));
}

CMPIData invokeMethod(const CMPIBroker* mb, const CMPIContext*, const CMPIObjectPath*, const char*,
                      const CMPIArgs*, CMPIArgs*, CMPIStatus* rc) {
    return answerNotSupported(mb, rc, "invokeMethod", nullData());
}

CMPIStatus setProperty(const CMPIBroker* mb, const CMPIContext*, const CMPIObjectPath*, const char*,
                       const CMPIValue*, CMPIType) {
    return statusNotSupported(mb, "brokerSetProperty");
}

CMPIData getProperty(const CMPIBroker* mb, const CMPIContext*, const CMPIObjectPath*, const char*,
                     CMPIStatus* rc) {
    return answerNotSupported(mb, rc, "brokerGetProperty", nullData());
}

CMPIBrokerFT upcallTable = {
    CMPI_MB_OSEncapsulationSupport,  // no up-calls, no indications, no queries
    CMPICurrentVersion,
    "cimbroker",
    prepareAttachThread,
    attachThread,
    detachThread,
    deliverIndication,
    enumerateInstanceNames,
    getInstance,
    createInstance,
    modifyInstance,
    deleteInstance,
    execQuery,
    enumerateInstances,
    associators,
    associatorNames,
    references,
    referenceNames,
    invokeMethod,
    setProperty,
    getProperty,
};

}  // namespace

CMPIBrokerFT* upcallFunctionTable() {
    return &upcallTable;
}

}  // namespace cimbroker
