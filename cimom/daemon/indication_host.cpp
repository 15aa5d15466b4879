#include "cimom/daemon/indication_host.h"

#include <ostream>

namespace cimhost {
namespace {

DeliverySettings deliverySettings(const DaemonOptions& options, std::ostream& log) {
    DeliverySettings settings = options.delivery;
    settings.log = &log;
    return settings;
}

}  // namespace

IndicationHost::IndicationHost(cimbroker::Runtime& runtime, const NamespaceSchema& served,
                               const InteropNamespace& interop, const ProviderRegistry& providers,
                               const DaemonOptions& options, std::ostream& log)
    : runtime_(runtime),
      log_(log),
      state_(options.stateDir.value_or("")),
      delivery_(deliverySettings(options, log)),
      store_(ServedSchemas{&interop.schema, &served}, interop.provider.facts().systemName,
             options.subscriptionLimits, delivery_, state_, log),
      interopInstances_({&interop.provider, &store_}),
      matcher_(runtime, store_, delivery_),
      servedRouter_(runtime, served, providers),
      interopRouter_(runtime, interop.schema, noProviders_, &interopInstances_),
      poller_(
          runtime, {&servedRouter_, &interopRouter_}, [this] { return store_.watchedClasses(); },
          matcher_, options.lifecycle, log) {
    {
        cimbroker::RequestScope scope(runtime_);
        store_.load(runtime_.broker());
    }
    store_.onChange([this] { poller_.watchChanged(); });
    poller_.watchChanged();
    runtime_.setIndicationSink(&matcher_);
    activation_.emplace(runtime_, providers, store_, log_);
}

IndicationHost::~IndicationHost() {
    activation_->stop();
    runtime_.setIndicationSink(nullptr);
    poller_.stop();
    const std::size_t left = delivery_.stop(kStopGrace);
    if (left > 0) {
        log_ << "cimp-cimom: " << left << " indications were left undelivered at stop\n";
    }
}

}  // namespace cimhost
