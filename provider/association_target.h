// Picks the class at the far end of a two-class association for a given source object path.
//
// Stateless; safe on any thread.
#ifndef CIMP_PROVIDER_ASSOCIATION_TARGET_H
#define CIMP_PROVIDER_ASSOCIATION_TARGET_H

#include <cmpidt.h>

// Returns `secondClass` for a source of `firstClass` and `firstClass` for a source of
// `secondClass`: by exact name first, else by the broker's classPathIsA, the first class being
// tested first. The result is one of the caller's own pointers, not a copy.
//
// Returns null when the source path yields no class name ("Bad source object path.") or is of
// neither class ("Object not involved in an association."); `*status` then has code
// CMPI_RC_ERR_FAILED and that message as a new broker string. On success whatever getClassName
// and classPathIsA wrote into `*status` stays. `status` must not be null.
const char* cimpGetAssociationTargetClassName(const CMPIBroker* broker,
                                              const CMPIObjectPath* sourcePath,
                                              const char* firstClass, const char* secondClass,
                                              CMPIStatus* status);

#endif
