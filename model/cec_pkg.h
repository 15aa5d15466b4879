// Object path and instance of the managed system's physical package, Vesk_CEC_Pkg.
#ifndef CIMP_MODEL_CEC_PKG_H
#define CIMP_MODEL_CEC_PKG_H

#include <cmpidt.h>

// Returns the path, or null (or what newObjectPath returned when it reported a failure).
CMPIObjectPath* CIMP_getCECPkgObjectPath(const CMPIBroker* broker);

// Sets `instance` to the package's instance or null; always writes the outcome into `*status`.
void CIMP_getCECPkgInstance(const CMPIBroker* broker, CMPIInstance*& instance, CMPIStatus* status);

#endif
