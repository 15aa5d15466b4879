// The object path of the managed system, Vesk_CEC in "root/orvcim", from a machine identity the
// caller has read: the one place its keys are made. CIMP_getCECObjectPath (cec.h) reads the
// identity and builds the path here; the alert provider builds it here from the identity it keeps.
// The path belongs to the broker. Safe on any thread.
#ifndef CIMP_MODEL_CEC_PATH_H
#define CIMP_MODEL_CEC_PATH_H

#include <cmpidt.h>

#include "sysdata/mtms.h"

inline constexpr char kCimpCecClassName[] = "Vesk_CEC";
// The same for every system.
inline constexpr char kCimpCecUuid[] = "0";

// The broker's path with its four keys, or null with `status` saying why (or what newObjectPath
// returned when it reported a failure). Key statuses are not examined: a refused key leaves the
// path as far as it was built.
CMPIObjectPath* cimpCECObjectPathOf(const CMPIBroker* broker, const CimpMtms_t& mtms,
                                    CMPIStatus& status);

#endif
