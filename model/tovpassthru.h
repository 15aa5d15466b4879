// Object path and instance of the passthrough service, Vesk_TOvPassthru in "root/orvcim", built
// from the machine identity at each call. Objects belong to the broker. Safe on any thread.
#ifndef CIMP_MODEL_TOVPASSTHRU_H
#define CIMP_MODEL_TOVPASSTHRU_H

#include <cmpidt.h>

// Returns the path, or null on failure.
CMPIObjectPath* CIMP_getTOvPassthruObjectPath(const CMPIBroker* broker);

// Sets `instance` to null, and to the new instance only on full success; always writes the final
// status into `*status`, which must not be null.
void CIMP_getTOvPassthruInstance(const CMPIBroker* broker, CMPIInstance*& instance,
                                 CMPIStatus* status);

#endif
