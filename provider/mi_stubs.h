// The function-table slots the provider does not implement: the two cleanups, which succeed and
// release nothing, and create, modify, delete and query, which answer not-supported.
//
// Each has the CMPI 1.0 signature of its slot, ignores every argument, writes no trace, never
// touches the result and does not read the broker slot. Stateless; safe on any thread.
#ifndef CIMP_PROVIDER_MI_STUBS_H
#define CIMP_PROVIDER_MI_STUBS_H

#include <cmpift.h>

// CMPI_RC_OK with a null message. Cleanup leaves the broker slot, the MI records and the trace
// buffer as they are, so a later factory call hands out a working record again.
CMPIStatus cimpInstanceCleanup(CMPIInstanceMI* mi, const CMPIContext* context,
                               CMPIBoolean terminating);
CMPIStatus cimpAssociationCleanup(CMPIAssociationMI* mi, const CMPIContext* context,
                                  CMPIBoolean terminating);

// CMPI_RC_ERR_NOT_SUPPORTED with a null message, whatever the arguments.
CMPIStatus cimpCreateInstanceNotSupported(CMPIInstanceMI* mi, const CMPIContext* context,
                                          const CMPIResult* result, const CMPIObjectPath* path,
                                          const CMPIInstance* instance);
CMPIStatus cimpSetInstanceNotSupported(CMPIInstanceMI* mi, const CMPIContext* context,
                                       const CMPIResult* result, const CMPIObjectPath* path,
                                       const CMPIInstance* instance, const char** properties);
CMPIStatus cimpDeleteInstanceNotSupported(CMPIInstanceMI* mi, const CMPIContext* context,
                                          const CMPIResult* result, const CMPIObjectPath* path);
CMPIStatus cimpExecQueryNotSupported(CMPIInstanceMI* mi, const CMPIContext* context,
                                     const CMPIResult* result, const CMPIObjectPath* path,
                                     const char* query, const char* language);

#endif
