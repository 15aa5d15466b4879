// The indication service's records as the state folder keeps them, MOF instance declarations a
// person can read, and back. Filters and destinations carry aliases ($filter1, $destination1);
// a subscription refers to its filter and destination by them, so the file reads on its own.
// Pure functions.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cimom/indication/host_record.h"
#include "cimom/mof/document.h"
#include "cimom/mof/schema.h"

namespace cimhost {

// The kinds of record kept, in the order they are saved and read back: the service (its
// settings), filters, destinations, and subscriptions referring to those before them.
enum RecordKind : std::size_t { kServices, kFilters, kDestinations, kSubscriptions, kRecordKinds };

using KeptRecords = std::array<std::vector<HostRecord>, kRecordKinds>;

// The kind of an instance of `className`, by the root class it derives from; nullopt for none.
std::optional<RecordKind> recordKindOf(const cimmof::Schema& classes, std::string_view className);

std::vector<cimmof::InstanceDecl> toDeclarations(const KeptRecords& records);

// Declarations of other classes, and references to aliases not declared before, are left out,
// each with a line in `faults` naming the file and line.
KeptRecords fromDeclarations(const cimmof::Schema& classes,
                             const std::vector<cimmof::InstanceDecl>& declarations,
                             std::vector<std::string>* faults);

}  // namespace cimhost
