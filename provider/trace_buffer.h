// The provider's trace descriptor g_cimpTd, and the opening of its trace buffer "CIMP" (4096
// bytes) by the library's static initialiser.
#ifndef CIMP_PROVIDER_TRACE_BUFFER_H
#define CIMP_PROVIDER_TRACE_BUFFER_H

#include "platform/trace_point.h"

#endif
