#include "provider/mi_factories.h"

#include <cmpift.h>

#include "provider/associator_operations.h"
#include "provider/broker_slot.h"
#include "provider/instance_operations.h"
#include "provider/mi_stubs.h"
#include "provider/reference_operations.h"

namespace {

// The tables are fixed at build time; the records hand them out unchanged for the process's
// lifetime. CMPI declares the table pointers non-const, hence no const here.
CMPIInstanceMIFT s_instanceFunctionTable = {
    100,
    100,
    "instanceVesk_AssociatedTOvPassthruProvider",
    cimpInstanceCleanup,
    CIMP_Vesk_AssociatedTOvPassthruEnumInstanceNames,
    CIMP_Vesk_AssociatedTOvPassthruEnumInstances,
    CIMP_Vesk_AssociatedTOvPassthruGetInstance,
    cimpCreateInstanceNotSupported,
    cimpSetInstanceNotSupported,
    cimpDeleteInstanceNotSupported,
    cimpExecQueryNotSupported,
};

CMPIAssociationMIFT s_associationFunctionTable = {
    100,
    100,
    "associationVesk_AssociatedTOvPassthruProvider",
    cimpAssociationCleanup,
    CIMP_Vesk_AssociatedTOvPassthruAssociators,
    CIMP_Vesk_AssociatedTOvPassthruAssociatorNames,
    CIMP_Vesk_AssociatedTOvPassthruReferences,
    CIMP_Vesk_AssociatedTOvPassthruReferenceNames,
};

CMPIInstanceMI s_instanceMI = {nullptr, &s_instanceFunctionTable};
CMPIAssociationMI s_associationMI = {nullptr, &s_associationFunctionTable};

}  // namespace

extern "C" CMPIInstanceMI* Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI(
    const CMPIBroker* broker, const CMPIContext*) {
    cimpStoreBroker(broker);
    return &s_instanceMI;
}

extern "C" CMPIAssociationMI* Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI(
    const CMPIBroker* broker, const CMPIContext*) {
    cimpStoreBroker(broker);
    return &s_associationMI;
}
