// Reply: what the dispatch of one operation hands the codec to encode; its objects belong to the
// request that made them.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "broker/broker_runtime.h"
#include "cimom/cim/status.h"
#include "cimom/mof/schema.h"

namespace cimhost {

// What an operation produced. Instances and paths belong to `results` (or to the request scope)
// and live as long as both do.
struct Reply {
    Status status;
    std::vector<std::unique_ptr<cimbroker::Result>> results;
    std::vector<const CMPIInstance*> instances;
    std::vector<const CMPIObjectPath*> paths;
    std::vector<const cimmof::ClassDecl*> classes;
    std::vector<const cimmof::QualifierType*> qualifierTypes;
    // ExecQuery: the query's select list; nullopt for SELECT *.
    std::optional<std::vector<std::string>> selectedProperties;
    // EnumerateInstances without DeepInheritance: instances show only this class's properties.
    std::string onlyPropertiesOf;
};

}  // namespace cimhost
