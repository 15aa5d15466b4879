// The class and role names of the served association, exported for any code in the process.
// Set at load and never changed.
#ifndef CIMP_MODEL_CLASS_NAMES_H
#define CIMP_MODEL_CLASS_NAMES_H

extern const char* g_CIMP_AssociatedServiceClassName;  // "Vesk_AssociatedTOvPassthru"
extern const char* g_CIMP_RoleUserOfService;           // "UserOfService"
extern const char* g_CIMP_RoleServiceProvided;         // "ServiceProvided"
extern const char* g_CIMP_TOvPassthruUserOfService;    // "Vesk_CEC"
extern const char* g_CIMP_TOvPassthruServiceProvided;  // "Vesk_TOvPassthru"

#endif
