#include "cimom/dispatch/interop_namespace.h"

#include <unistd.h>

#include <algorithm>
#include <utility>

namespace cimhost {
namespace {

std::string hostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') {
        return "localhost";
    }
    return name;
}

std::vector<std::string> providerNames(const ProviderRegistry& providers) {
    std::vector<std::string> names;
    for (const ClassBinding& binding : providers.bindings()) {
        if (std::find(names.begin(), names.end(), binding.provider->name) == names.end()) {
            names.push_back(binding.provider->name);
        }
    }
    return names;
}

}  // namespace

cimp::Outcome InteropNamespace::load(const std::string& servedSchemaFile,
                                     const NamespaceSchema& served,
                                     const ProviderRegistry& providers,
                                     std::unique_ptr<InteropNamespace>* out) {
    const std::size_t slash = servedSchemaFile.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : servedSchemaFile.substr(0, slash);
    NamespaceSchema schema;
    const cimp::Outcome loaded =
        NamespaceSchema::load(folder + "/root_interop.mof", kInteropNamespace, &schema);
    if (!loaded.ok()) {
        return loaded;
    }
    ServerFacts facts;
    facts.interopNamespace = kInteropNamespace;
    facts.namespaces = {served.nameSpace, kInteropNamespace};
    facts.providers = providerNames(providers);
    facts.systemName = hostName();
    facts.version = CIMHOST_VERSION;
    out->reset(new InteropNamespace{std::move(schema), InteropProvider(std::move(facts))});
    return loaded;
}

}  // namespace cimhost
