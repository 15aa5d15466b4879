#include "broker/broker_upcalls.h"

#include <string>
#include <tuple>
#include <type_traits>

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

// The up-calls this broker does not offer answer not-supported, whatever their signature: as their
// status, or through their last parameter (CMPIStatus* rc) with an empty answer.
template <typename Fn, const char* service>
struct Unsupported;

template <typename R, typename... Args, const char* service>
struct Unsupported<R (*)(const CMPIBroker*, Args...), service> {
    static R call(const CMPIBroker* mb, [[maybe_unused]] Args... args) {
        if constexpr (std::is_same_v<R, CMPIStatus>) {
            return statusNotSupported(mb, service);
        } else {
            R empty{};
            if constexpr (std::is_same_v<R, CMPIData>) {
                empty = nullData();
            }
            CMPIStatus* rc = std::get<sizeof...(Args) - 1>(std::forward_as_tuple(args...));
            return answerNotSupported(mb, rc, service, empty);
        }
    }
};

constexpr char kDeliverIndication[] = "deliverIndication";
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
    CMPI_MB_OSEncapsulationSupport,  // no up-calls, no indications, no queries
    CMPICurrentVersion,
    "cimbroker",
    prepareAttachThread,
    attachThread,
    detachThread,
    Unsupported<decltype(CMPIBrokerFT::deliverIndication), kDeliverIndication>::call,
    Unsupported<decltype(CMPIBrokerFT::enumerateInstanceNames), kEnumerateInstanceNames>::call,
    Unsupported<decltype(CMPIBrokerFT::getInstance), kGetInstance>::call,
    Unsupported<decltype(CMPIBrokerFT::createInstance), kCreateInstance>::call,
    Unsupported<decltype(CMPIBrokerFT::modifyInstance), kModifyInstance>::call,
    Unsupported<decltype(CMPIBrokerFT::deleteInstance), kDeleteInstance>::call,
    Unsupported<decltype(CMPIBrokerFT::execQuery), kExecQuery>::call,
    Unsupported<decltype(CMPIBrokerFT::enumerateInstances), kEnumerateInstances>::call,
    Unsupported<decltype(CMPIBrokerFT::associators), kAssociators>::call,
    Unsupported<decltype(CMPIBrokerFT::associatorNames), kAssociatorNames>::call,
    Unsupported<decltype(CMPIBrokerFT::references), kReferences>::call,
    Unsupported<decltype(CMPIBrokerFT::referenceNames), kReferenceNames>::call,
    Unsupported<decltype(CMPIBrokerFT::invokeMethod), kInvokeMethod>::call,
    Unsupported<decltype(CMPIBrokerFT::setProperty), kBrokerSetProperty>::call,
    Unsupported<decltype(CMPIBrokerFT::getProperty), kBrokerGetProperty>::call,
};

}  // namespace

CMPIBrokerFT* upcallFunctionTable() {
    return &upcallTable;
}

}  // namespace cimbroker
