#include "broker/broker_upcalls.h"

#include <string>

#include "broker/caller_owned.h"
#include "broker/entry_list_objects.h"
#include "broker/instance_object.h"
#include "broker/service_call.h"
#include "broker/thread_attachment.h"

namespace cimbroker {
namespace {

// The new thread's context: a copy of the caller's, owned by the thread until detachThread.
CMPIContext* prepareAttachThread(const CMPIBroker* mb, const CMPIContext* ctx) {
    return runQuery<RuntimeState>(
        mb, nullptr, "prepareAttachThread", [ctx](RuntimeState& runtime, CMPIStatus&) {
            const ContextObject* ours = ContextObject::from(ctx);
            std::unique_ptr<Object> copy =
                ours != nullptr ? ours->cloneObject() : std::make_unique<ContextObject>(runtime);
            return static_cast<CMPIContext*>(handToCaller(std::move(copy)));
        });
}

// Until detachThread, what the broker makes on this thread belongs to the attachment.
CMPIStatus attachThread(const CMPIBroker* mb, const CMPIContext* ctx) {
    return runUpdate<RuntimeState>(mb, "attachThread", [ctx](RuntimeState& runtime) {
        if (ContextObject::from(ctx, runtime) == nullptr) {
            return invalidHandleStatus();
        }
        attachCurrentThread(runtime, ctx);
        return okStatus();
    });
}

// Frees what the thread made while attached, then the context prepareAttachThread gave.
CMPIStatus detachThread(const CMPIBroker* mb, const CMPIContext* ctx) {
    return runUpdate<RuntimeState>(mb, "detachThread", [ctx](RuntimeState& runtime) {
        detachCurrentThread(runtime, ctx);
        takeBackFromCaller(ctx);
        return okStatus();
    });
}

// To the Runtime's indication sink, when the host installed one.
CMPIStatus deliverIndication(const CMPIBroker* mb, const CMPIContext*, const char* ns,
                             const CMPIInstance* ind) {
    return runUpdate<RuntimeState>(mb, "deliverIndication", [ns, ind](RuntimeState& runtime) {
        IndicationSink* sink = runtime.indicationSink.load(std::memory_order_acquire);
        if (sink == nullptr) {
            return notSupported(runtime, "deliverIndication");
        }
        if (ns == nullptr || InstanceObject::from(ind, runtime) == nullptr) {
            return errorStatus(
                runtime, CMPI_RC_ERR_INVALID_PARAMETER,
                "deliverIndication: needs a namespace and an instance of this broker");
        }
        return sink->deliver(ns, ind);
    });
}

// The up-calls this broker does not offer.
constexpr char kEnumerateInstanceNames[] = "enumerateInstanceNames";
constexpr char kGetInstance[] = "getInstance";
constexpr char kCreateInstance[] = "createInstance";
constexpr char kModifyInstance[] = "modifyInstance";
constexpr char kDeleteInstance[] = "deleteInstance";
constexpr char kExecQuery[] = "execQuery";
constexpr char kEnumerateInstances[] = "enumerateInstances";
constexpr char kAssociators[] = "associators";
constexpr char kAssociatorNames[] = "associatorNames";
constexpr char kReferences[] = "references";
constexpr char kReferenceNames[] = "referenceNames";
constexpr char kInvokeMethod[] = "invokeMethod";
constexpr char kBrokerSetProperty[] = "brokerSetProperty";
constexpr char kBrokerGetProperty[] = "brokerGetProperty";

CMPIBrokerFT upcallTable = {
    CMPI_MB_OSEncapsulationSupport,  // no up-calls, no queries; indications once a sink is set
    CMPICurrentVersion,
    "cimbroker",
    prepareAttachThread,
    attachThread,
    detachThread,
    deliverIndication,
    Unsupported<RuntimeState, decltype(CMPIBrokerFT::enumerateInstanceNames),
                kEnumerateInstanceNames>::call,
    Unsupported<RuntimeState, decltype(CMPIBrokerFT::getInstance), kGetInstance>::call,
    Unsupported<RuntimeState, decltype(CMPIBrokerFT::createInstance), kCreateInstance>::call,
    Unsupported<RuntimeState, decltype(CMPIBrokerFT::modifyInstance), kModifyInstance>::call,
    Unsupported<RuntimeState, decltype(CMPIBrokerFT::deleteInstance), kDeleteInstance>::call,
    Unsupported<RuntimeState, decltype(CMPIBrokerFT::execQuery), kExecQuery>::call,
    Unsupported<RuntimeState, decltype(CMPIBrokerFT::enumerateInstances),
                kEnumerateInstances>::call,
    Unsupported<RuntimeState, decltype(CMPIBrokerFT::associators), kAssociators>::call,
    Unsupported<RuntimeState, decltype(CMPIBrokerFT::associatorNames), kAssociatorNames>::call,
    Unsupported<RuntimeState, decltype(CMPIBrokerFT::references), kReferences>::call,
    Unsupported<RuntimeState, decltype(CMPIBrokerFT::referenceNames), kReferenceNames>::call,
    Unsupported<RuntimeState, decltype(CMPIBrokerFT::invokeMethod), kInvokeMethod>::call,
    Unsupported<RuntimeState, decltype(CMPIBrokerFT::setProperty), kBrokerSetProperty>::call,
    Unsupported<RuntimeState, decltype(CMPIBrokerFT::getProperty), kBrokerGetProperty>::call,
};

}  // namespace

CMPIBrokerFT* upcallFunctionTable() {
    return &upcallTable;
}

}  // namespace cimbroker
