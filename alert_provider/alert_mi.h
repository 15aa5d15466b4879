// The alert provider's face to the CIMOM: the factory function, exported unmangled under the name
// the CIMOM composes from the provider name "Vesk_AlertIndicationProvider".
//
// The factory stores `broker` (a later call replaces an earlier one) and returns the one static
// indication MI record, the same on every call; the CIMOM must not free it. Its functions:
// authorizeFilter accepts filters on Vesk_AlertIndication and the classes above it; mustPoll
// answers not-supported (the provider delivers on its own, nothing is polled); activateFilter,
// deActivateFilter, enableIndications and disableIndications drive alert_service.h; cleanup stops
// everything, joining the alert thread before it returns. No function lets an exception out.
#ifndef CIMP_ALERT_PROVIDER_ALERT_MI_H
#define CIMP_ALERT_PROVIDER_ALERT_MI_H

#include <cmpift.h>

extern "C" {

CMPIIndicationMI* Vesk_AlertIndicationProvider_Create_IndicationMI(const CMPIBroker* broker,
                                                                   const CMPIContext* context);
}

#endif
