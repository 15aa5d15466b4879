// InteropProvider: the read-only instances of the interop namespace that describe the server,
// made by the host itself rather than by a loaded provider. One CIM_Namespace per namespace
// served, one CIM_ObjectManager for cimp-cimom, one CIM_RegisteredProfile per registered
// provider; CIM_ElementConformsToProfile has no instances (no provider states which of its
// objects conform). Instances are built through the broker for the calling thread's
// RequestScope.
//
// Thread-safe: holds only facts fixed at start.
#pragma once

#include <string>
#include <vector>

#include "cimom/cim/status.h"
#include "cimom/dispatch/host_provider.h"
#include "cmpidt.h"
#include "cmpift.h"

namespace cimhost {

struct ServerFacts {
    std::string interopNamespace;         // "root/interop"
    std::vector<std::string> namespaces;  // every namespace served, the interop one included
    std::vector<std::string> providers;   // names of the registered providers
    std::string systemName;               // the host's name
    std::string version;                  // of cimp-cimom, major.minor.update
};

class InteropProvider : public HostProvider {
  public:
    explicit InteropProvider(ServerFacts facts);

    Status instancesOf(const CMPIBroker* broker, const std::string& className,
                       std::vector<CMPIInstance*>& out) const override;

    const ServerFacts& facts() const { return facts_; }

  private:
    const ServerFacts facts_;
};

}  // namespace cimhost
