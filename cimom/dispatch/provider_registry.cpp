#include "cimom/dispatch/provider_registry.h"

#include <algorithm>
#include <ostream>
#include <utility>

#include "base/text_case.h"
#include "cimom/cim/status.h"

namespace cimhost {
namespace {

// Calls the cleanup of `mi`, when it has one, and reports a failure.
template <typename MI>
void cleanupMI(const std::string& provider, const char* miType, MI* mi, const CMPIContext* context,
               std::ostream& log) {
    const CMPIStatus rc = mi != nullptr && mi->ft->cleanup != nullptr
                              ? mi->ft->cleanup(mi, context, 1)
                              : CMPIStatus{CMPI_RC_OK, nullptr};
    if (rc.rc != CMPI_RC_OK) {
        const Status status = Status::fromCmpi(rc);
        log << "cimp-cimom: " << miType << " cleanup of provider " << provider
            << " failed: " << cimCodeName(status.code()) << ' ' << status.description() << '\n';
    }
}

}  // namespace

const SharedLibrary& ProviderRegistry::keepLibrary(SharedLibrary library) {
    libraries_.push_back(std::make_unique<SharedLibrary>(std::move(library)));
    return *libraries_.back();
}

Provider& ProviderRegistry::addProvider(std::string name) {
    providers_.push_back(std::make_unique<Provider>());
    providers_.back()->name = std::move(name);
    return *providers_.back();
}

bool ProviderRegistry::bind(ClassBinding binding) {
    if (find(binding.nameSpace, binding.className) != nullptr) {
        return false;
    }
    bindings_.push_back(std::move(binding));
    return true;
}

const ClassBinding* ProviderRegistry::find(const std::string& nameSpace,
                                           const std::string& className) const {
    const auto found = std::find_if(bindings_.begin(), bindings_.end(), [&](const ClassBinding& b) {
        return cimp::equalsIgnoreCase(b.nameSpace, nameSpace) &&
               cimp::equalsIgnoreCase(b.className, className);
    });
    return found == bindings_.end() ? nullptr : &*found;
}

void ProviderRegistry::cleanup(const CMPIContext* context, std::ostream& log) {
    if (cleanedUp_) {
        return;
    }
    cleanedUp_ = true;
    for (const std::unique_ptr<Provider>& provider : providers_) {
        cleanupMI(provider->name, "instance", provider->instanceMI, context, log);
        cleanupMI(provider->name, "association", provider->associationMI, context, log);
        cleanupMI(provider->name, "indication", provider->indicationMI, context, log);
    }
}

}  // namespace cimhost
