// Object path and instance of the served association Vesk_AssociatedTOvPassthru, which ties the
// passthrough service ("ServiceProvided") to the managed system ("UserOfService").
#ifndef CIMP_MODEL_ASSOCIATED_TOVPASSTHRU_H
#define CIMP_MODEL_ASSOCIATED_TOVPASSTHRU_H

#include <cmpidt.h>

// `path` receives the broker's new path as soon as it exists and keeps it whatever follows;
// judge it by the returned status only.
CMPIStatus CIMP_getAssociatedTOvPassthruObjectPath(const CMPIBroker* broker, CMPIObjectPath*& path);

// `instance` is null unless the returned status is CMPI_RC_OK.
CMPIStatus CIMP_getAssociatedTOvPassthruInstance(const CMPIBroker* broker, CMPIInstance*& instance);

#endif
