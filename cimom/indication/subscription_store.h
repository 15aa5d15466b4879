// SubscriptionStore: the indication service of the interop namespace (DSP1054), the host
// provider of its classes. It keeps the filters (CIM_IndicationFilter), listener destinations
// (CIM_ListenerDestinationCIMXML and the older CIM_IndicationHandlerCIMXML) and subscriptions
// (CIM_IndicationSubscription) clients create, and answers for the one CIM_IndicationService,
// its CIM_IndicationServiceCapabilities and the associations to them.
//
// - Creation fills the keys a client leaves out (SystemCreationClassName CIM_ComputerSystem,
//   SystemName the host's, CreationClassName the class, a unique Name) and refuses, naming the
//   fault: a filter whose query, language or source namespaces do not check out
//   (compileFilter), a destination that is no http:// or https:// URL, a subscription whose
//   filter or destination does not exist, a second instance with the same keys, and anything
//   beyond the limits (CIM_ERR_SERVER_LIMITS_EXCEEDED).
// - A filter or destination a subscription refers to cannot be deleted; deleting a subscription
//   keeps both. Deleting a destination drops what is queued for it.
// - ModifyInstance changes a subscription's SubscriptionState (2 Enabled, 4 Disabled) and the
//   service's DeliveryRetryAttempts, DeliveryRetryInterval (given to the delivery service),
//   SubscriptionRemovalAction and SubscriptionRemovalTimeInterval; nothing else.
// - An indication given up on applies failure_policy.h to the subscriptions of its destination.
// - With a persistent state folder every change is saved (file indications.mof): filters,
//   permanent destinations (PersistenceType other than 3, Transient), the subscriptions to them
//   and the service's settings; load() reads them back at start.
//
// Thread-safe: one lock guards the records; nothing is sent, saved or called back under it.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "cimom/delivery/delivery_service.h"
#include "cimom/dispatch/host_provider.h"
#include "cimom/indication/delivery_channel.h"
#include "cimom/indication/filter_query.h"
#include "cimom/indication/state_folder.h"
#include "cimom/indication/subscription_limits.h"
#include "cimom/indication/watched_class.h"

namespace cimhost {

class SubscriptionStore : public HostProvider {
  public:
    // An enabled subscription as indications are sent by it.
    struct Route {
        std::shared_ptr<const FilterQuery> filter;
        std::string filterName;  // the filter's Name, for IndicationFilterName
        std::shared_ptr<DeliveryChannel> channel;
    };
    using Routes = std::vector<Route>;

    // `schemas`: every namespace served, the interop namespace (where these classes live)
    // first. The schemas, `delivery`, `state` and `log` must outlive the store.
    SubscriptionStore(ServedSchemas schemas, std::string systemName, SubscriptionLimits limits,
                      DeliveryService& delivery, const StateFolder& state, std::ostream& log);
    ~SubscriptionStore() override;  // takes its handlers off the delivery service
    SubscriptionStore(const SubscriptionStore&) = delete;
    SubscriptionStore& operator=(const SubscriptionStore&) = delete;

    Status instancesOf(const CMPIBroker* broker, const std::string& className,
                       std::vector<CMPIInstance*>& out) const override;
    bool keeps(const std::string& className) const override;
    Status create(const CMPIBroker* broker, const InstanceValue& instance,
                  ObjectName& made) const override;
    Status modify(const CMPIBroker* broker, const ObjectName& name, const InstanceValue& instance,
                  const std::optional<std::vector<std::string>>& propertyList) const override;
    Status remove(const ObjectName& name) const override;

    // Reads back what the state folder kept; each fault is logged and costs only what it names.
    // Once, before serving, inside a RequestScope of `broker`'s runtime.
    void load(const CMPIBroker* broker);

    // Calls `listener` after every change of the subscriptions, on the changing thread, outside
    // the lock. Register before serving.
    void onChange(std::function<void()> listener);

    // The enabled subscriptions now; the snapshot does not change.
    std::shared_ptr<const Routes> routes() const;
    // One entry per source namespace and class that an enabled subscription's filter on
    // lifecycle indications (CIM_InstIndication, its subclasses or superclasses) names with
    // SourceInstance ISA <class>.
    std::vector<WatchedClass> watchedClasses() const;
    const ServedSchemas& schemas() const;

  private:
    struct State;
    std::shared_ptr<State> state_;  // shared with the delivery service's handlers, weakly
};

}  // namespace cimhost
