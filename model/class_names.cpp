#include "model/class_names.h"

// Writable pointers to constant text, as other code in the process links against them by name.
const char* g_CIMP_AssociatedServiceClassName = "Vesk_AssociatedTOvPassthru";
const char* g_CIMP_RoleUserOfService = "UserOfService";
const char* g_CIMP_RoleServiceProvided = "ServiceProvided";
const char* g_CIMP_TOvPassthruUserOfService = "Vesk_CEC";
const char* g_CIMP_TOvPassthruServiceProvided = "Vesk_TOvPassthru";
