// Traces the filter arguments of reference and associator requests.
//
// One trace of the filter texts (a null one traced as "NULL"), then one trace per property-list
// entry up to the terminating null entry. No entry or exit trace. Stateless; safe on any thread.
#ifndef CIMP_PROVIDER_FILTER_TRACE_H
#define CIMP_PROVIDER_FILTER_TRACE_H

// Every argument may be null.
void cimpTraceReferenceArgs(const char* resultClass, const char* role, const char** properties);

// Every argument may be null.
void cimpTraceAssociatorArgs(const char* assocClass, const char* resultClass, const char* role,
                             const char* resultRole, const char** properties);

#endif
