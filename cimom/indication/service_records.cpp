#include "cimom/indication/service_records.h"

#include <utility>

#include "cimom/indication/record_intake.h"

namespace cimhost {
namespace {

constexpr const char* kServiceName = "cimp-cimom";

InstanceValue valueOf(const char* className) {
    InstanceValue value;
    value.className = className;
    return value;
}

void setFlag(InstanceValue& value, const char* name, bool on) {
    setScalar(value, name, "boolean", on ? "true" : "false");
}

}  // namespace

HostRecord keyedRecord(const cimmof::Schema& classes, InstanceValue value) {
    ObjectName name = nameFromKeys(classes, value);
    return HostRecord{std::move(name), std::move(value)};
}

HostRecord serviceRecord(const cimmof::Schema& classes, const std::string& systemName,
                         const ServiceSettings& settings) {
    InstanceValue value = valueOf(kServiceClass);
    setScalar(value, "SystemCreationClassName", "string", kSystemClass);
    setScalar(value, "SystemName", "string", systemName);
    setScalar(value, "CreationClassName", "string", kServiceClass);
    setScalar(value, "Name", "string", kServiceName);
    setScalar(value, "ElementName", "string", "cimp-cimom indication service");
    setScalar(value, "EnabledState", "uint16", "2");  // Enabled
    setFlag(value, "Started", true);
    setFlag(value, "FilterCreationEnabled", true);
    setScalar(value, "DeliveryRetryAttempts", "uint16", std::to_string(settings.retry.attempts));
    setScalar(value, "DeliveryRetryInterval", "uint32",
              std::to_string(settings.retry.interval.count()));
    setScalar(value, "SubscriptionRemovalAction", "uint16", std::to_string(settings.removalAction));
    setScalar(value, "SubscriptionRemovalTimeInterval", "uint64",
              std::to_string(settings.removalInterval.count()));
    return keyedRecord(classes, std::move(value));
}

ServiceSettings settingsOf(const InstanceValue& service, const ServiceSettings& base) {
    ServiceSettings settings = base;
    if (const auto attempts = unsignedOf(service, "DeliveryRetryAttempts")) {
        settings.retry.attempts = static_cast<unsigned>(*attempts);
    }
    if (const auto interval = unsignedOf(service, "DeliveryRetryInterval")) {
        settings.retry.interval = std::chrono::seconds(*interval);
    }
    settings.removalAction =
        unsignedOf(service, "SubscriptionRemovalAction").value_or(base.removalAction);
    if (const auto removal = unsignedOf(service, "SubscriptionRemovalTimeInterval")) {
        settings.removalInterval = std::chrono::seconds(*removal);
    }
    return settings;
}

HostRecord capabilitiesRecord(const cimmof::Schema& classes, const SubscriptionLimits& limits,
                              bool persisted) {
    InstanceValue value = valueOf(kCapabilitiesClass);
    setScalar(value, "InstanceID", "string", "cimp-cimom:IndicationServiceCapabilities");
    setScalar(value, "ElementName", "string", "cimp-cimom indication service capabilities");
    setFlag(value, "FilterCreationEnabledIsSettable", false);
    for (const char* settable :
         {"DeliveryRetryAttemptsIsSettable", "DeliveryRetryIntervalIsSettable",
          "SubscriptionRemovalActionIsSettable", "SubscriptionRemovalTimeIntervalIsSettable"}) {
        setFlag(value, settable, true);
    }
    setScalar(value, "MaxListenerDestinations", "uint32", std::to_string(limits.destinations));
    setScalar(value, "MaxActiveSubscriptions", "uint32", std::to_string(limits.subscriptions));
    setFlag(value, "SubscriptionsPersisted", persisted);
    return keyedRecord(classes, std::move(value));
}

HostRecord hostedServiceRecord(const cimmof::Schema& classes, const std::string& systemName,
                               const ObjectName& service) {
    InstanceValue value = valueOf("CIM_HostedService");
    const ObjectName system{
        "",
        "",
        kSystemClass,
        {KeyBinding{"CreationClassName", {KeyValue::Type::String, kSystemClass, nullptr}},
         KeyBinding{"Name", {KeyValue::Type::String, systemName, nullptr}}}};
    setReference(value, "Antecedent", system);
    setReference(value, "Dependent", service);
    return keyedRecord(classes, std::move(value));
}

HostRecord elementCapabilitiesRecord(const cimmof::Schema& classes, const ObjectName& service,
                                     const ObjectName& capabilities) {
    InstanceValue value = valueOf("CIM_ElementCapabilities");
    setReference(value, "ManagedElement", service);
    setReference(value, "Capabilities", capabilities);
    return keyedRecord(classes, std::move(value));
}

HostRecord affectsRecord(const cimmof::Schema& classes, const ObjectName& service,
                         const ObjectName& affected) {
    InstanceValue value = valueOf("CIM_ServiceAffectsElement");
    setReference(value, "AffectedElement", affected);
    setReference(value, "AffectingElement", service);
    PropertyValue effects{"ElementEffects", "uint16", true, false, {"5"}, nullptr};  // Manages
    value.properties.push_back(std::move(effects));
    return keyedRecord(classes, std::move(value));
}

}  // namespace cimhost
