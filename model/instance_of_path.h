// The step every instance builder shares: the broker's new instance of a path it built.
#ifndef CIMP_MODEL_INSTANCE_OF_PATH_H
#define CIMP_MODEL_INSTANCE_OF_PATH_H

#include <cmpidt.h>

// Returns the instance, or null with `status` saying why: a status the broker reports stays as it
// came (code and message); a null `path`, or a null instance without a broker status, sets the
// code to CMPI_RC_ERR_FAILED. Writes no trace: each caller reports the outcome in its exit trace.
CMPIInstance* cimpNewInstanceOfPath(const CMPIBroker* broker, const CMPIObjectPath* path,
                                    CMPIStatus& status);

#endif
