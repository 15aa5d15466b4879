#include "tests/support/wrapped_tables.h"

#include <cstring>
#include <mutex>
#include <tuple>
#include <type_traits>

#include "broker/array_object.h"
#include "broker/broker_factories.h"
#include "broker/broker_upcalls.h"
#include "broker/datetime_object.h"
#include "broker/entry_list_objects.h"
#include "broker/enumeration_object.h"
#include "broker/instance_object.h"
#include "broker/object_identity.h"
#include "broker/object_path_object.h"
#include "broker/result_object.h"
#include "broker/service_call.h"
#include "broker/string_object.h"

namespace cimptest {
namespace {

using cimbroker::RuntimeState;

RuntimeState* runtimeOf(const CMPIBroker* broker) {
    return RuntimeState::from(broker);
}

RuntimeState* runtimeOf(const void* object) {
    const cimbroker::Object* ours = cimbroker::identifyObject(object);
    return ours != nullptr ? &ours->runtime() : nullptr;
}

// The wrapper of one slot: `original` and `service` are set when it is installed.
template <auto slot>
struct Wrapped;

template <typename Table, typename R, typename Cmpi, typename... Args,
          R (*Table::*slot)(Cmpi*, Args...)>
struct Wrapped<slot> {
    static inline R (*original)(Cmpi*, Args...) = nullptr;
    static inline const char* service = nullptr;

    static void install(Table& table, const char* name) {
        original = table.*slot;
        service = name;
        table.*slot = &call;
    }

    static R call(Cmpi* handle, Args... args) {
        RuntimeState* runtime = runtimeOf(handle);
        const std::optional<InjectedFault> fault =
            runtime != nullptr ? consultProbe(*runtime, service, qualifier(args...)) : std::nullopt;
        if (!fault) {
            return original(handle, args...);
        }
        const CMPIStatus status = fault->answersEmpty
                                      ? cimbroker::okStatus()
                                      : cimbroker::errorStatus(*runtime, fault->rc, fault->message);
        if constexpr (std::is_same_v<R, CMPIStatus>) {
            return status;
        } else {
            using Last = std::tuple_element_t<sizeof...(Args) - 1, std::tuple<Args...>>;
            if constexpr (std::is_same_v<Last, CMPIStatus*>) {
                cimbroker::report(std::get<sizeof...(Args) - 1>(std::tie(args...)), status);
            }
            if constexpr (std::is_same_v<R, CMPIData>) {
                return cimbroker::nullData();
            } else {
                return R{};
            }
        }
    }

    // The property or key a setProperty or addKey call names.
    static const char* qualifier(Args... args) {
        // The void behind the arguments stands first when there are none.
        if constexpr (std::is_same_v<std::tuple_element_t<0, std::tuple<Args..., void>>,
                                     const char*>) {
            const bool named =
                std::strcmp(service, "setProperty") == 0 || std::strcmp(service, "addKey") == 0;
            return named ? std::get<0>(std::tie(args...)) : nullptr;
        } else {
            return nullptr;
        }
    }
};

#define CIMP_WRAP(table, Table, slot) Wrapped<&Table::slot>::install(table, #slot)
#define CIMP_WRAP_AS(table, Table, slot, name) Wrapped<&Table::slot>::install(table, name)

void wrapBroker() {
    CMPIBrokerFT& up = *cimbroker::upcallFunctionTable();
    CIMP_WRAP(up, CMPIBrokerFT, prepareAttachThread);
    CIMP_WRAP(up, CMPIBrokerFT, attachThread);
    CIMP_WRAP(up, CMPIBrokerFT, detachThread);
    CIMP_WRAP(up, CMPIBrokerFT, deliverIndication);
    CIMP_WRAP(up, CMPIBrokerFT, enumerateInstanceNames);
    CIMP_WRAP(up, CMPIBrokerFT, getInstance);
    CIMP_WRAP(up, CMPIBrokerFT, createInstance);
    CIMP_WRAP(up, CMPIBrokerFT, modifyInstance);
    CIMP_WRAP(up, CMPIBrokerFT, deleteInstance);
    CIMP_WRAP(up, CMPIBrokerFT, execQuery);
    CIMP_WRAP(up, CMPIBrokerFT, enumerateInstances);
    CIMP_WRAP(up, CMPIBrokerFT, associators);
    CIMP_WRAP(up, CMPIBrokerFT, associatorNames);
    CIMP_WRAP(up, CMPIBrokerFT, references);
    CIMP_WRAP(up, CMPIBrokerFT, referenceNames);
    CIMP_WRAP(up, CMPIBrokerFT, invokeMethod);
    CIMP_WRAP_AS(up, CMPIBrokerFT, setProperty, "brokerSetProperty");
    CIMP_WRAP_AS(up, CMPIBrokerFT, getProperty, "brokerGetProperty");

    CMPIBrokerEncFT& enc = *cimbroker::factoryFunctionTable();
    CIMP_WRAP(enc, CMPIBrokerEncFT, newInstance);
    CIMP_WRAP(enc, CMPIBrokerEncFT, newObjectPath);
    CIMP_WRAP(enc, CMPIBrokerEncFT, newArgs);
    CIMP_WRAP(enc, CMPIBrokerEncFT, newString);
    CIMP_WRAP(enc, CMPIBrokerEncFT, newArray);
    CIMP_WRAP(enc, CMPIBrokerEncFT, newDateTime);
    CIMP_WRAP(enc, CMPIBrokerEncFT, newDateTimeFromBinary);
    CIMP_WRAP(enc, CMPIBrokerEncFT, newDateTimeFromChars);
    CIMP_WRAP(enc, CMPIBrokerEncFT, newSelectExp);
    CIMP_WRAP(enc, CMPIBrokerEncFT, classPathIsA);
    CIMP_WRAP(enc, CMPIBrokerEncFT, toString);
    CIMP_WRAP(enc, CMPIBrokerEncFT, isOfType);
    CIMP_WRAP(enc, CMPIBrokerEncFT, getType);
    CIMP_WRAP(enc, CMPIBrokerEncFT, logMessage);
    CIMP_WRAP(enc, CMPIBrokerEncFT, trace);
}

void wrapPathsAndInstances() {
    CMPIObjectPathFT& path = *cimbroker::ObjectPathObject::functionTable();
    CIMP_WRAP(path, CMPIObjectPathFT, clone);
    CIMP_WRAP(path, CMPIObjectPathFT, setNameSpace);
    CIMP_WRAP(path, CMPIObjectPathFT, getNameSpace);
    CIMP_WRAP(path, CMPIObjectPathFT, setHostname);
    CIMP_WRAP(path, CMPIObjectPathFT, getHostname);
    CIMP_WRAP(path, CMPIObjectPathFT, setClassName);
    CIMP_WRAP(path, CMPIObjectPathFT, getClassName);
    CIMP_WRAP(path, CMPIObjectPathFT, addKey);
    CIMP_WRAP(path, CMPIObjectPathFT, getKey);
    CIMP_WRAP(path, CMPIObjectPathFT, getKeyAt);
    CIMP_WRAP(path, CMPIObjectPathFT, getKeyCount);
    CIMP_WRAP(path, CMPIObjectPathFT, setNameSpaceFromObjectPath);
    CIMP_WRAP(path, CMPIObjectPathFT, setHostAndNameSpaceFromObjectPath);
    CIMP_WRAP(path, CMPIObjectPathFT, getClassQualifier);
    CIMP_WRAP(path, CMPIObjectPathFT, getPropertyQualifier);
    CIMP_WRAP(path, CMPIObjectPathFT, getMethodQualifier);
    CIMP_WRAP(path, CMPIObjectPathFT, getParameterQualifier);

    CMPIInstanceFT& instance = *cimbroker::InstanceObject::functionTable();
    CIMP_WRAP(instance, CMPIInstanceFT, clone);
    CIMP_WRAP(instance, CMPIInstanceFT, getProperty);
    CIMP_WRAP(instance, CMPIInstanceFT, getPropertyAt);
    CIMP_WRAP(instance, CMPIInstanceFT, getPropertyCount);
    CIMP_WRAP(instance, CMPIInstanceFT, setProperty);
    CIMP_WRAP(instance, CMPIInstanceFT, getObjectPath);
    CIMP_WRAP(instance, CMPIInstanceFT, setPropertyFilter);
}

void wrapValues() {
    CMPIResultFT& result = *cimbroker::ResultObject::functionTable();
    CIMP_WRAP(result, CMPIResultFT, clone);
    CIMP_WRAP(result, CMPIResultFT, returnData);
    CIMP_WRAP(result, CMPIResultFT, returnInstance);
    CIMP_WRAP(result, CMPIResultFT, returnObjectPath);
    CIMP_WRAP(result, CMPIResultFT, returnDone);

    CMPIArrayFT& array = *cimbroker::ArrayObject::functionTable();
    CIMP_WRAP(array, CMPIArrayFT, clone);
    CIMP_WRAP(array, CMPIArrayFT, getSize);
    CIMP_WRAP(array, CMPIArrayFT, getSimpleType);
    CIMP_WRAP(array, CMPIArrayFT, getElementAt);
    CIMP_WRAP(array, CMPIArrayFT, setElementAt);

    CMPIStringFT& string = *cimbroker::StringObject::functionTable();
    CIMP_WRAP(string, CMPIStringFT, clone);
    CIMP_WRAP(string, CMPIStringFT, getCharPtr);

    CMPIEnumerationFT& enumeration = *cimbroker::EnumerationObject::functionTable();
    CIMP_WRAP(enumeration, CMPIEnumerationFT, clone);
    CIMP_WRAP(enumeration, CMPIEnumerationFT, getNext);
    CIMP_WRAP(enumeration, CMPIEnumerationFT, hasNext);
    CIMP_WRAP(enumeration, CMPIEnumerationFT, toArray);

    CMPIDateTimeFT& dateTime = *cimbroker::DateTimeObject::functionTable();
    CIMP_WRAP(dateTime, CMPIDateTimeFT, clone);
    CIMP_WRAP(dateTime, CMPIDateTimeFT, getBinaryFormat);
    CIMP_WRAP(dateTime, CMPIDateTimeFT, getStringFormat);
    CIMP_WRAP(dateTime, CMPIDateTimeFT, isInterval);
}

void wrapEntryLists() {
    CMPIContextFT& context = *cimbroker::ContextObject::functionTable();
    CIMP_WRAP(context, CMPIContextFT, clone);
    CIMP_WRAP(context, CMPIContextFT, getEntry);
    CIMP_WRAP(context, CMPIContextFT, getEntryAt);
    CIMP_WRAP(context, CMPIContextFT, getEntryCount);
    CIMP_WRAP(context, CMPIContextFT, addEntry);

    CMPIArgsFT& args = *cimbroker::ArgsObject::functionTable();
    CIMP_WRAP(args, CMPIArgsFT, clone);
    CIMP_WRAP(args, CMPIArgsFT, addArg);
    CIMP_WRAP(args, CMPIArgsFT, getArg);
    CIMP_WRAP(args, CMPIArgsFT, getArgAt);
    CIMP_WRAP(args, CMPIArgsFT, getArgCount);
}

}  // namespace

void wrapBrokerTables() {
    static std::once_flag once;
    std::call_once(once, [] {
        wrapBroker();
        wrapPathsAndInstances();
        wrapValues();
        wrapEntryLists();
    });
}

}  // namespace cimptest
