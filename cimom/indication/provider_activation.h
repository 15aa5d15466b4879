// ProviderActivation: the host's side of the loaded indication providers (CMPI indication MIs,
// ClassBinding::indication). At start it enables indications of each indication MI once. After
// every change of the subscriptions it works out which (filter, provider class) pairs the enabled
// subscriptions need: a filter needs a class a provider serves when its FROM class is that class
// or one above it (CIM_AlertIndication, CIM_Indication) and its source namespaces include the
// provider's. For each pair newly needed it calls authorizeFilter, then activateFilter with the
// filter's select expression, the class name and a class path in the provider's namespace; for
// each pair no longer needed, deActivateFilter once, with the same select expression.
// firstActivation and lastActivation are true for a provider's first active filter and for its
// last. A refused or failed activation is logged and the subscription stays: the host filters
// whatever the provider delivers anyway; it is not tried again while the pair stays needed.
//
// Threads: the provider calls are made on the thread that changed the subscriptions, one change
// at a time, never from inside an indication delivery. stop() disables indications once; after it
// no provider is called. Stop before the providers are cleaned up, and those before the runtime's
// indication sink goes.
#pragma once

#include <iosfwd>
#include <memory>

#include "broker/broker_runtime.h"
#include "cimom/dispatch/provider_registry.h"
#include "cimom/indication/subscription_store.h"

namespace cimhost {

class ProviderActivation {
  public:
    // Enables indications and activates what the subscriptions already need. The runtime, the
    // providers, `store` and `log` must outlive the activation.
    ProviderActivation(cimbroker::Runtime& runtime, const ProviderRegistry& providers,
                       SubscriptionStore& store, std::ostream& log);
    ~ProviderActivation();  // stops unless stopped before
    ProviderActivation(const ProviderActivation&) = delete;
    ProviderActivation& operator=(const ProviderActivation&) = delete;

    // Disables indications of each indication MI; later changes of the subscriptions call none.
    void stop();

  private:
    struct State;
    std::shared_ptr<State> state_;  // shared with the store's change listener
};

}  // namespace cimhost
