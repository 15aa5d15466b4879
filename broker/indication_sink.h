// IndicationSink: where the indications a provider hands to the broker (deliverIndication) go.
// The broker knows nothing of subscriptions; the host that owns the Runtime installs a sink that
// matches each indication against its filters and queues it for delivery.
#pragma once

#include "cmpidt.h"
#include "cmpift.h"

namespace cimbroker {

class IndicationSink {
  public:
    virtual ~IndicationSink() = default;
    // Called on the delivering thread, which owns `indication`: the sink reads what it needs
    // before it returns and keeps no handle. `nameSpace` is the indication's source namespace.
    // Any thread may call at any time, several at once.
    virtual CMPIStatus deliver(const char* nameSpace, const CMPIInstance* indication) = 0;
};

}  // namespace cimbroker
