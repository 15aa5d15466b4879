// The indication service's own instances, as records: the one CIM_IndicationService, its
// CIM_IndicationServiceCapabilities, and the association instances a client follows from the
// system to the service (CIM_HostedService), from the service to its capabilities
// (CIM_ElementCapabilities) and to the filters and destinations it manages
// (CIM_ServiceAffectsElement, ElementEffects 5 "Manages"). Pure functions.
#pragma once

#include <chrono>
#include <string>

#include "cimom/delivery/delivery_service.h"
#include "cimom/indication/host_record.h"
#include "cimom/indication/subscription_limits.h"
#include "cimom/mof/schema.h"

namespace cimhost {

constexpr const char* kServiceClass = "CIM_IndicationService";
constexpr const char* kCapabilitiesClass = "CIM_IndicationServiceCapabilities";

// The service's settings a client may change (ModifyInstance), with DSP1054's defaults.
struct ServiceSettings {
    RetryPolicy retry;
    std::uint64_t removalAction = 2;                // Remove
    std::chrono::seconds removalInterval{2592000};  // 30 days
};

// A record of `value.className` named by its key properties.
HostRecord keyedRecord(const cimmof::Schema& classes, InstanceValue value);

HostRecord serviceRecord(const cimmof::Schema& classes, const std::string& systemName,
                         const ServiceSettings& settings);
// The settings a service record holds; what it lacks keeps `base`'s value.
ServiceSettings settingsOf(const InstanceValue& service, const ServiceSettings& base);

HostRecord capabilitiesRecord(const cimmof::Schema& classes, const SubscriptionLimits& limits,
                              bool persisted);
HostRecord hostedServiceRecord(const cimmof::Schema& classes, const std::string& systemName,
                               const ObjectName& service);
HostRecord elementCapabilitiesRecord(const cimmof::Schema& classes, const ObjectName& service,
                                     const ObjectName& capabilities);
HostRecord affectsRecord(const cimmof::Schema& classes, const ObjectName& service,
                         const ObjectName& affected);

}  // namespace cimhost
