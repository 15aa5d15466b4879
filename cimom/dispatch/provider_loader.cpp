#include "cimom/dispatch/provider_loader.h"

#include <filesystem>
#include <map>
#include <ostream>

#include "base/text_case.h"
#include "cimom/cim/status.h"

namespace cimhost {
namespace {

// Per-load bookkeeping: each library opened and each factory called at most once.
class Loader {
  public:
    Loader(const LoaderSettings& settings, const CMPIBroker* broker, const CMPIContext* context,
           ProviderRegistry& registry, std::ostream& log)
        : settings_(settings), broker_(broker), context_(context), registry_(registry), log_(log) {}

    bool load(const cimmof::ProviderRegistration& r) {
        if (!cimp::equalsIgnoreCase(r.nameSpace, settings_.servedNamespace)) {
            report(r, "namespace " + r.nameSpace + " is not served (only " +
                          settings_.servedNamespace + ")");
            return false;
        }
        Provider* provider = providerFor(r);
        if (provider == nullptr) {
            return false;
        }
        ProviderState& state = providers_[r.providerName];
        const ClassBinding binding{
            r.nameSpace,
            r.className,
            provider,
            r.instance &&
                createMI(r, "_Create_InstanceMI", state.instanceTried, provider->instanceMI),
            r.association && createMI(r, "_Create_AssociationMI", state.associationTried,
                                      provider->associationMI),
            r.indication &&
                createMI(r, "_Create_IndicationMI", state.indicationTried, provider->indicationMI)};
        if (!binding.instance && !binding.association && !binding.indication) {
            report(r, "class " + r.className + " is not served");
            return false;
        }
        if (!registry_.bind(binding)) {
            report(r, "class " + r.className + " is registered twice in " + r.nameSpace);
            return false;
        }
        return true;
    }

  private:
    struct ProviderState {
        Provider* provider = nullptr;
        const SharedLibrary* library = nullptr;
        bool instanceTried = false;
        bool associationTried = false;
        bool indicationTried = false;
    };

    void report(const cimmof::ProviderRegistration& r, const std::string& why) {
        log_ << "cimp-cimom: " << r.file << ':' << r.line << ": provider " << r.providerName << ": "
             << why << '\n';
    }

    const SharedLibrary* libraryFor(const cimmof::ProviderRegistration& r) {
        auto known = libraries_.find(r.library);
        if (known != libraries_.end()) {
            return known->second;
        }
        const std::string file = resolveLibraryFile(r.library, settings_.searchDirs);
        SharedLibrary library;
        const cimp::Outcome opened = SharedLibrary::open(file, &library);
        const SharedLibrary* kept = nullptr;
        if (opened.ok()) {
            kept = &registry_.keepLibrary(std::move(library));
        } else {
            report(r, opened.message());
        }
        libraries_[r.library] = kept;
        return kept;
    }

    Provider* providerFor(const cimmof::ProviderRegistration& r) {
        ProviderState& state = providers_[r.providerName];
        if (state.provider == nullptr) {
            state.library = libraryFor(r);
            if (state.library == nullptr) {
                return nullptr;
            }
            state.provider = &registry_.addProvider(r.providerName);
        }
        return state.provider;
    }

    // The record from <provider><suffix>, resolved and called on the first request for it only;
    // `tried` and `slot` are the provider's bookkeeping for this MI type.
    template <class MI>
    MI* createMI(const cimmof::ProviderRegistration& r, const char* suffix, bool& tried,
                 MI*& slot) {
        if (tried) {
            return slot;
        }
        tried = true;
        using Factory = MI* (*)(const CMPIBroker*, const CMPIContext*, CMPIStatus*);
        const std::string name = r.providerName + suffix;
        void* address = nullptr;
        const cimp::Outcome found = providers_[r.providerName].library->symbol(name, &address);
        if (!found.ok()) {
            report(r, "library " + r.library + " lacks symbol " + name + ": " + found.why());
            return nullptr;
        }
        CMPIStatus rc{CMPI_RC_OK, nullptr};
        MI* mi = reinterpret_cast<Factory>(address)(broker_, context_, &rc);
        if (rc.rc != CMPI_RC_OK || mi == nullptr || mi->ft == nullptr) {
            const Status status = Status::fromCmpi(rc);
            report(r, name + " returned no MI (" + cimCodeName(status.code()) + " " +
                          status.description() + ")");
            return nullptr;
        }
        slot = mi;
        return mi;
    }

    const LoaderSettings& settings_;
    const CMPIBroker* broker_;
    const CMPIContext* context_;
    ProviderRegistry& registry_;
    std::ostream& log_;
    std::map<std::string, const SharedLibrary*> libraries_;  // null: failed to load
    std::map<std::string, ProviderState> providers_;
};

}  // namespace

std::string resolveLibraryFile(const std::string& library, const std::vector<std::string>& dirs) {
    const std::string file = "lib" + library + ".so";
    for (const std::string& dir : dirs) {
        if (dir.empty()) {
            continue;
        }
        const std::string candidate = dir.back() == '/' ? dir + file : dir + "/" + file;
        if (std::error_code error; std::filesystem::is_regular_file(candidate, error)) {
            return candidate;
        }
    }
    return file;
}

int loadProviders(const std::vector<cimmof::ProviderRegistration>& registrations,
                  const LoaderSettings& settings, const CMPIBroker* broker,
                  const CMPIContext* context, ProviderRegistry& registry, std::ostream& log) {
    Loader loader(settings, broker, context, registry, log);
    int bound = 0;
    for (const cimmof::ProviderRegistration& r : registrations) {
        bound += loader.load(r) ? 1 : 0;
    }
    return bound;
}

}  // namespace cimhost
