// InteropNamespace: what the host needs to serve root/interop beside the namespace of its
// providers: the interop classes (root_interop.mof, found beside the served namespace's MOF) and
// the host's own provider of their instances. Built once at start; immutable afterwards.
#pragma once

#include <memory>
#include <string>

#include "cimom/cim/namespace_schema.h"
#include "cimom/dispatch/interop_provider.h"
#include "cimom/dispatch/provider_registry.h"

namespace cimhost {

constexpr const char* kInteropNamespace = "root/interop";

struct InteropNamespace {
    NamespaceSchema schema;
    InteropProvider provider;

    // Loads root_interop.mof from the folder of `servedSchemaFile`; the provider describes
    // `served` and the providers of `providers`. Failed as the MOF reader fails.
    static cimp::Outcome load(const std::string& servedSchemaFile, const NamespaceSchema& served,
                              const ProviderRegistry& providers,
                              std::unique_ptr<InteropNamespace>* out);
};

}  // namespace cimhost
