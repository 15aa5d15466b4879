// Loads the providers that registrations name into a ProviderRegistry, as a CIMOM does: opens
// lib<library>.so once per library, resolves <provider>_Create_InstanceMI,
// <provider>_Create_AssociationMI and <provider>_Create_IndicationMI for the MI types
// registered, calls each factory once with the broker and a context, and binds every registered
// class to the records it got. The factories
// are called with the standard trailing CMPIStatus*; a provider of the older two-argument shape
// ignores it, as the C calling convention allows.
//
// A library that does not load, a missing symbol, a factory that returns nothing, a class
// registered twice or in a namespace not served: each is reported on `log`, one line naming the
// provider, library or class and the reason, and loading goes on with the rest. Call from one
// thread at start.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cimom/dispatch/provider_registry.h"
#include "cimom/mof/registration.h"
#include "cmpidt.h"
#include "cmpift.h"

namespace cimhost {

struct LoaderSettings {
    // Directories searched in order for lib<library>.so; when none holds it, the bare file name
    // goes to the system loader (LD_LIBRARY_PATH, ld.so.cache, system directories).
    std::vector<std::string> searchDirs;
    std::string servedNamespace;  // registrations for other namespaces are skipped
};

// What dlopen is given for `library`: the first search directory's lib<library>.so that
// exists, else the bare lib<library>.so.
std::string resolveLibraryFile(const std::string& library, const std::vector<std::string>& dirs);

// Returns the number of classes bound.
int loadProviders(const std::vector<cimmof::ProviderRegistration>& registrations,
                  const LoaderSettings& settings, const CMPIBroker* broker,
                  const CMPIContext* context, ProviderRegistry& registry, std::ostream& log);

}  // namespace cimhost
