// IndicationMatcher: where the indications raised in the host go (the broker's IndicationSink,
// and the lifecycle poller's). Each is matched against the enabled subscriptions whose filter
// takes indications from the namespace it was raised in, and queued for delivery once per
// subscription whose filter selects it, as DSP1054 allows: each copy carries the
// IndicationFilterName of the filter that selected it, and its destination's SequenceContext and
// next SequenceNumber. A filter with a select list sends those properties and these three.
//
// Thread-safe: any thread may deliver at any time, several at once; the numbers of one
// destination reach its queue in order.
#pragma once

#include "broker/broker_runtime.h"
#include "broker/indication_sink.h"
#include "cimom/delivery/delivery_service.h"
#include "cimom/indication/subscription_store.h"

namespace cimhost {

class IndicationMatcher : public cimbroker::IndicationSink {
  public:
    // The runtime's objects are those of the indications delivered; all must outlive the
    // matcher.
    IndicationMatcher(cimbroker::Runtime& runtime, const SubscriptionStore& store,
                      DeliveryService& delivery);

    // CMPI_RC_ERR_INVALID_PARAMETER without a namespace or indication,
    // CMPI_RC_ERR_INVALID_NAMESPACE for a namespace the host does not serve; OK otherwise,
    // whether any subscription took the indication or not.
    CMPIStatus deliver(const char* nameSpace, const CMPIInstance* indication) override;

  private:
    // Numbers, encodes and queues one copy of `indication` for `route`.
    void send(const SubscriptionStore::Route& route, CMPIInstance* indication,
              const NamespaceSchema& schema);

    cimbroker::Runtime& runtime_;
    const SubscriptionStore& store_;
    DeliveryService& delivery_;
};

}  // namespace cimhost
