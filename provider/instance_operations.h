// The instance operations of the served association class Vesk_AssociatedTOvPassthru:
// enumerate instance names, enumerate instances and get instance.
//
// Each asks the enablement gate, checks the request's class name without regard to letter case,
// builds the one association object with the broker from the broker slot and hands it to the
// result. The MI, the context and the property list are not used. Every object built belongs to
// the broker. Nothing survives a call; safe on any number of CIMOM threads.
#ifndef CIMP_PROVIDER_INSTANCE_OPERATIONS_H
#define CIMP_PROVIDER_INSTANCE_OPERATIONS_H

#include <cmpift.h>

// Code 0 with one path then returnDone; 0 and nothing on a closed gate; 1 when the gate failed;
// 5 for another class; else the status of the class-name read or of the builder.
CMPIStatus CIMP_Vesk_AssociatedTOvPassthruEnumInstanceNames(CMPIInstanceMI* mi,
                                                            const CMPIContext* context,
                                                            const CMPIResult* result,
                                                            const CMPIObjectPath* path);

// As enumerate instance names, with the instance in place of its path.
CMPIStatus CIMP_Vesk_AssociatedTOvPassthruEnumInstances(CMPIInstanceMI* mi,
                                                        const CMPIContext* context,
                                                        const CMPIResult* result,
                                                        const CMPIObjectPath* path,
                                                        const char** properties);

// Code 0 with the instance then returnDone when every key of `path` matches the built instance;
// every failure, a closed gate included, becomes code 6 (keeping the message of the last status
// taken over) and returns nothing.
CMPIStatus CIMP_Vesk_AssociatedTOvPassthruGetInstance(CMPIInstanceMI* mi,
                                                      const CMPIContext* context,
                                                      const CMPIResult* result,
                                                      const CMPIObjectPath* path,
                                                      const char** properties);

#endif
