// A CMPI_chars value: CMPI passes character data as the text pointer itself in place of a
// CMPIValue address. Headers that declare addKey and setProperty wrappers as typed functions
// (rather than casting macros) need that pointer typed as a value pointer.
#ifndef CIMP_MODEL_CHARS_VALUE_H
#define CIMP_MODEL_CHARS_VALUE_H

#include <cmpidt.h>

inline const CMPIValue* cimpCharsValue(const char* text) {
    return reinterpret_cast<const CMPIValue*>(text);
}

#endif
