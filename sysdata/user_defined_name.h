// The system's user-defined name. Keeps no state; safe on any thread.
#ifndef CIMP_SYSDATA_USER_DEFINED_NAME_H
#define CIMP_SYSDATA_USER_DEFINED_NAME_H

class ErrlEntry;

// Copies "fstp/SystemName" into `name`, which holds 32 bytes: at most 31 characters and a NUL.
// Returns null on success, or the registry's entry (owned by the caller) with `name` untouched.
ErrlEntry* CIMP_getCEC_UserDefName(char* name);

#endif
