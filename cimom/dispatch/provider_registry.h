// ProviderRegistry: the loaded providers, their MI records, and which provider serves which
// class in which namespace. Built once at start (by the provider loader, or directly by tests
// with in-process MI records), then only read while requests run, so any number of threads may
// look up at once. It owns the libraries the providers came from and closes them last.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "cimom/dispatch/shared_library.h"
#include "cmpidt.h"
#include "cmpift.h"

namespace cimhost {

struct Provider {
    std::string name;
    CMPIInstanceMI* instanceMI = nullptr;
    CMPIAssociationMI* associationMI = nullptr;
    CMPIIndicationMI* indicationMI = nullptr;
};

struct ClassBinding {
    std::string nameSpace;
    std::string className;  // as registered
    const Provider* provider = nullptr;
    bool instance = false;     // instance operations go to provider->instanceMI
    bool association = false;  // association operations go to provider->associationMI
    bool indication = false;   // the class's indications come from provider->indicationMI
};

class ProviderRegistry {
  public:
    ProviderRegistry() = default;
    ProviderRegistry(const ProviderRegistry&) = delete;
    ProviderRegistry& operator=(const ProviderRegistry&) = delete;

    // Keeps `library` open as long as the registry lives; the reference stays valid as long.
    const SharedLibrary& keepLibrary(SharedLibrary library);

    // A new provider; the reference stays valid for the registry's lifetime.
    Provider& addProvider(std::string name);

    // False, and nothing changes, when the class is bound in that namespace already.
    bool bind(ClassBinding binding);

    // The binding of `className` in `nameSpace` (names compared without regard to case), or null.
    const ClassBinding* find(const std::string& nameSpace, const std::string& className) const;
    const std::vector<ClassBinding>& bindings() const { return bindings_; }

    // Calls cleanup on every MI record once, with terminating true, and reports a failing one
    // on `log`. Later calls do nothing. Call it when no request runs any more.
    void cleanup(const CMPIContext* context, std::ostream& log);

  private:
    std::vector<std::unique_ptr<SharedLibrary>>
        libraries_;  // declared first: closed after the records go
    std::vector<std::unique_ptr<Provider>> providers_;
    std::vector<ClassBinding> bindings_;
    bool cleanedUp_ = false;
};

}  // namespace cimhost
