// Object path and instance of the managed system, Vesk_CEC in "root/orvcim", built from the
// registry at each call. Objects belong to the broker. Safe on any thread.
#ifndef CIMP_MODEL_CEC_H
#define CIMP_MODEL_CEC_H

#include <cmpidt.h>

// Returns the path, or null on failure (or what newObjectPath returned when it reported a failure).
CMPIObjectPath* CIMP_getCECObjectPath(const CMPIBroker* broker);

// Sets `instance` to null, and to the new instance only on full success; always writes the final
// status into `*status`, which must not be null.
void CIMP_getCECInstance(const CMPIBroker* broker, CMPIInstance*& instance, CMPIStatus* status);

#endif
