// The reference operations of the association MI: referenceNames and references.
//
// Given a path of the managed system (Vesk_CEC) or of the passthrough service
// (Vesk_TOvPassthru), judged by its class name alone, each answers with the one association
// Vesk_AssociatedTOvPassthru: its path, or its instance trimmed by the property list. A null
// filter argument filters nothing. The MI and the context are not used; the broker is the one
// in the broker slot. Every object built belongs to the broker. Nothing survives a call; safe on
// any number of CIMOM threads.
//
// Both return CMPI_RC_OK with nothing for a closed gate, a source of another class or a role
// the source does not play; code 1 when the gate failed. A result class the association is not
// counted under returns at once with the status classPathIsA left, without returnDone.
#ifndef CIMP_PROVIDER_REFERENCE_OPERATIONS_H
#define CIMP_PROVIDER_REFERENCE_OPERATIONS_H

#include <cmpift.h>

CMPIStatus CIMP_Vesk_AssociatedTOvPassthruReferenceNames(CMPIAssociationMI* mi,
                                                         const CMPIContext* context,
                                                         const CMPIResult* result,
                                                         const CMPIObjectPath* sourcePath,
                                                         const char* resultClass, const char* role);

// Trims the instance to `properties` (keeping both reference keys) when a list is given.
CMPIStatus CIMP_Vesk_AssociatedTOvPassthruReferences(CMPIAssociationMI* mi,
                                                     const CMPIContext* context,
                                                     const CMPIResult* result,
                                                     const CMPIObjectPath* sourcePath,
                                                     const char* resultClass, const char* role,
                                                     const char** properties);

#endif
