// The provider's face to the CIMOM: the two factory functions, exported unmangled under the
// names the CIMOM composes from the provider name "Vesk_AssociatedTOvPassthruProvider".
//
// Each stores `broker` in the broker slot (a later call replaces an earlier one) and returns the
// one static MI record of its kind, the same on every call; the CIMOM must not free it. The
// context is not used. Neither traces, allocates, validates or fails. Safe on any thread.
#ifndef CIMP_PROVIDER_MI_FACTORIES_H
#define CIMP_PROVIDER_MI_FACTORIES_H

#include <cmpift.h>

extern "C" {

// Instance MI "instanceVesk_AssociatedTOvPassthruProvider": enumInstanceNames, enumInstances
// and getInstance; create, modify, delete and query answer not-supported.
CMPIInstanceMI* Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI(const CMPIBroker* broker,
                                                                     const CMPIContext* context);

// Association MI "associationVesk_AssociatedTOvPassthruProvider": associators, associatorNames,
// references and referenceNames.
CMPIAssociationMI* Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI(
    const CMPIBroker* broker, const CMPIContext* context);
}

#endif
