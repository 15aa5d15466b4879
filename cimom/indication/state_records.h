// The indication service's records as the state folder keeps them, MOF instance declarations a
// person can read, and back. Filters and destinations carry aliases ($filter1, $destination1);
// a subscription refers to its filter and destination by them, so the file reads on its own.
// Pure functions.
#pragma once

#include <string>
#include <vector>

#include "cimom/indication/host_record.h"
#include "cimom/mof/document.h"
#include "cimom/mof/schema.h"

namespace cimhost {

struct KeptRecords {
    std::vector<HostRecord> services;  // CIM_IndicationService: its settings
    std::vector<HostRecord> filters;
    std::vector<HostRecord> destinations;
    std::vector<HostRecord> subscriptions;  // referring to the filters and destinations above
};

std::vector<cimmof::InstanceDecl> toDeclarations(const KeptRecords& records);

// Declarations of other classes, and references to aliases not declared before, are left out,
// each with a line in `faults` naming the file and line.
KeptRecords fromDeclarations(const cimmof::Schema& classes,
                             const std::vector<cimmof::InstanceDecl>& declarations,
                             std::vector<std::string>* faults);

}  // namespace cimhost
