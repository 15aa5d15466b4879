// CMPIBrokerFT of the runtime's broker: thread attachment (thread_attachment.h), indication
// delivery to the Runtime's IndicationSink, and the up-calls into other providers, which this
// broker does not offer (each answers CMPI_RC_ERR_NOT_SUPPORTED with a message).
#pragma once

#include "cmpift.h"

namespace cimbroker {

CMPIBrokerFT* upcallFunctionTable();

}  // namespace cimbroker
