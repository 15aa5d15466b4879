// Object path and instance of Vesk_AssocCECPhysPkg, which ties the package ("Antecedent") to the
// managed system ("Dependent").
#ifndef CIMP_MODEL_ASSOC_CEC_PHYS_PKG_H
#define CIMP_MODEL_ASSOC_CEC_PHYS_PKG_H

#include <cmpidt.h>

// `path` is set as soon as the broker made it; judge it by the returned status only.
CMPIStatus CIMP_getVesk_AssocCECPhysPkgObjectPath(const CMPIBroker* broker, CMPIObjectPath*& path);

// `instance` is null unless the returned status is CMPI_RC_OK.
CMPIStatus CIMP_getVesk_AssocCECPhysPkgInstance(const CMPIBroker* broker, CMPIInstance*& instance);

#endif
