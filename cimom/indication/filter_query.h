// FilterQuery: an indication filter's query, checked once when the filter is created (or read
// back from the state folder), so that a bad filter is refused then and never found faulty at
// delivery, and then evaluated against every indication raised in its source namespaces.
// Immutable once made: share freely between threads.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cimom/cim/namespace_schema.h"
#include "cimom/cim/operation.h"
#include "cimom/cim/status.h"
#include "cimom/query/wql_query.h"
#include "cmpidt.h"
#include "cmpift.h"

namespace cimhost {

// The schemas of the namespaces the host serves.
using ServedSchemas = std::vector<const NamespaceSchema*>;

// The schema of `nameSpace` (any case, leading and trailing '/' aside), or null.
const NamespaceSchema* schemaOf(const ServedSchemas& schemas, std::string_view nameSpace);

struct FilterQuery {
    std::string text;  // the Query as the client gave it, for providers' select expressions
    cimquery::Query query;
    std::vector<std::string> sourceNamespaces;  // spelled as the host serves them
};

// Checks the filter's QueryLanguage, Query and source namespaces (SourceNamespaces, else the
// older SourceNamespace, else `ownNamespace`, as DSP1054 says): WQL only (anything else,
// DMTF:CQL among them, is CIM_ERR_QUERY_LANGUAGE_NOT_SUPPORTED); a query that parses
// (CIM_ERR_INVALID_QUERY at the parser's place); namespaces the host serves
// (CIM_ERR_INVALID_PARAMETER); and in each of them a FROM class that is an indication class,
// known properties (a dotted one by its first part) and known ISA classes (CIM_ERR_INVALID_QUERY
// naming the fault and the namespace).
Status compileFilter(const InstanceValue& filter, const ServedSchemas& schemas,
                     const std::string& ownNamespace, FilterQuery* out);

// Whether the filter selects `indication`, raised in `nameSpace` (one of its sources, whose
// classes are `classes`): of the FROM class or a subclass, and its condition true.
bool selects(const FilterQuery& filter, const cimmof::Schema& classes,
             const CMPIInstance* indication);

// Whether `nameSpace` (spelled as the host serves it) is one of the filter's sources.
bool takesFrom(const FilterQuery& filter, std::string_view nameSpace);

// The classes the condition asks SourceInstance to be (SourceInstance ISA <class>).
std::vector<std::string> sourceInstanceClasses(const FilterQuery& filter);

}  // namespace cimhost
