// The associator operations of the association MI: associatorNames and associators.
//
// Given a path of one end of Vesk_AssociatedTOvPassthru, judged by its class name alone, each
// answers with the object at the other end: the passthrough service (Vesk_TOvPassthru) for a
// managed-system source (Vesk_CEC) and the managed system for a passthrough-service source.
// The association-class, result-class, role, result-role and property-list arguments filter or
// trim the answer; a null one filters nothing. The MI and the context are not used; the broker
// is the one in the broker slot. Every object built belongs to the broker. Nothing survives a
// call; safe on any number of CIMOM threads.
#ifndef CIMP_PROVIDER_ASSOCIATOR_OPERATIONS_H
#define CIMP_PROVIDER_ASSOCIATOR_OPERATIONS_H

#include <cmpift.h>

// Answers with the target's path. Calls returnDone on every path through its exit, failures and
// a closed gate included; an association or result class that does not fit returns at once,
// without returnDone.
CMPIStatus CIMP_Vesk_AssociatedTOvPassthruAssociatorNames(
    CMPIAssociationMI* mi, const CMPIContext* context, const CMPIResult* result,
    const CMPIObjectPath* sourcePath, const char* assocClass, const char* resultClass,
    const char* role, const char* resultRole);

// Answers with the target's instance, trimmed to `properties` (keeping the target's keys) when
// a list is given. Calls returnDone only right after returning the instance.
CMPIStatus CIMP_Vesk_AssociatedTOvPassthruAssociators(
    CMPIAssociationMI* mi, const CMPIContext* context, const CMPIResult* result,
    const CMPIObjectPath* sourcePath, const char* assocClass, const char* resultClass,
    const char* role, const char* resultRole, const char** properties);

#endif
