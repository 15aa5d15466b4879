// IndicationHost: the indication service as the daemon runs it. It keeps the subscriptions of the
// interop namespace (read back from the state folder at start), matches the indications raised in
// the host against them, polls the classes lifecycle subscriptions watch, and delivers to the
// listeners. Made once the providers are loaded and before the listeners start; stopped after the
// listeners, so that no request changes a subscription while it stops. The indication providers'
// filters follow the subscriptions (ProviderActivation), and what they deliver goes to the matcher.
#pragma once

#include <chrono>
#include <iosfwd>
#include <optional>

#include "broker/broker_runtime.h"
#include "cimom/cim/namespace_schema.h"
#include "cimom/daemon/daemon_options.h"
#include "cimom/delivery/delivery_service.h"
#include "cimom/dispatch/host_provider.h"
#include "cimom/dispatch/interop_namespace.h"
#include "cimom/dispatch/provider_registry.h"
#include "cimom/dispatch/router.h"
#include "cimom/indication/indication_matcher.h"
#include "cimom/indication/lifecycle_poller.h"
#include "cimom/indication/provider_activation.h"
#include "cimom/indication/state_folder.h"
#include "cimom/indication/subscription_store.h"

namespace cimhost {

class IndicationHost {
  public:
    // How long queued indications may still be sent once the daemon is told to stop.
    static constexpr std::chrono::seconds kStopGrace{3};

    // Everything given must outlive the host.
    IndicationHost(cimbroker::Runtime& runtime, const NamespaceSchema& served,
                   const InteropNamespace& interop, const ProviderRegistry& providers,
                   const DaemonOptions& options, std::ostream& log);
    // Disables the indication providers' indications and takes the matcher from the runtime,
    // polls no more, then sends what is queued for at most kStopGrace; logs what was left.
    ~IndicationHost();
    IndicationHost(const IndicationHost&) = delete;
    IndicationHost& operator=(const IndicationHost&) = delete;

    // What serves the interop namespace's instances: the server's facts and the subscriptions.
    const HostProvider& interopInstances() const { return interopInstances_; }
    const DeliveryService& delivery() const { return delivery_; }

  private:
    cimbroker::Runtime& runtime_;
    std::ostream& log_;
    const StateFolder state_;
    DeliveryService delivery_;
    SubscriptionStore store_;
    const HostProviderSet interopInstances_;
    IndicationMatcher matcher_;
    const ProviderRegistry noProviders_;  // the interop namespace's classes have none
    const Router servedRouter_;
    const Router interopRouter_;
    LifecyclePoller poller_;
    std::optional<ProviderActivation> activation_;  // made once the kept subscriptions are read
};

}  // namespace cimhost
