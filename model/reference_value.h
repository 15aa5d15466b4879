// A CMPI_ref value: a CMPIValue whose reference member holds an object path, as addKey and
// setProperty take it for reference keys and properties.
#ifndef CIMP_MODEL_REFERENCE_VALUE_H
#define CIMP_MODEL_REFERENCE_VALUE_H

#include <cmpidt.h>

inline CMPIValue cimpReferenceValue(CMPIObjectPath* path) {
    CMPIValue value;
    value.ref = path;
    return value;
}

#endif
