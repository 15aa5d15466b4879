// The lifecycle indication of one change between two polls, built through the broker in the
// calling thread's request scope (which owns it):
//   appeared: CIM_InstCreation, SourceInstance the new instance;
//   vanished: CIM_InstDeletion, SourceInstance the instance as last seen;
//   changed:  CIM_InstModification, SourceInstance as now and PreviousInstance as before.
// Each carries IndicationIdentifier (`identifier`), IndicationTime (now) and
// SourceInstanceModelPath (the source instance's path). Thread-safe as the broker is.
#pragma once

#include <string>

#include "cimom/indication/instance_snapshot.h"
#include "cmpidt.h"
#include "cmpift.h"

namespace cimhost {

const char* lifecycleClassName(const LifecycleChange& change);

// Null when the broker made no instance.
const CMPIInstance* lifecycleIndication(const CMPIBroker* broker, const std::string& nameSpace,
                                        const LifecycleChange& change,
                                        const std::string& identifier);

}  // namespace cimhost
