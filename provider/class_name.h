// Reads the class name of a request's object path.
//
// The name is the character data of the broker's string, used in place: it is neither copied
// nor released and stays valid as long as the broker keeps the string. Stateless; safe on any
// thread.
#ifndef CIMP_PROVIDER_CLASS_NAME_H
#define CIMP_PROVIDER_CLASS_NAME_H

#include <cmpidt.h>

// Returns the broker's status when getClassName fails, CMPI_RC_ERR_FAILED (null message) when
// no name comes back or the path is null, CMPI_RC_OK otherwise. `className` is null after every
// failure.
CMPIStatus cimpGetClassName(const CMPIObjectPath* path, char*& className);

#endif
