#include "cimom/host/provider_loader.h"

#include <sys/stat.h>

#include <map>
#include <ostream>

#include "broker/text_case.h"
#include "cimom/host/status.h"

namespace cimhost {
namespace {

using InstanceFactory = CMPIInstanceMI* (*)(const CMPIBroker*, const CMPIContext*, CMPIStatus*);
using AssociationFactory = CMPIAssociationMI* (*)(const CMPIBroker*, const CMPIContext*,
                                                  CMPIStatus*);

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string where(const cimmof::ProviderRegistration& r) {
    return r.file + ":" + std::to_string(r.line);
}

// Per-load bookkeeping: each library opened and each factory called at most once.
class Loader {
  public:
    Loader(const LoaderSettings& settings, const CMPIBroker* broker, const CMPIContext* context,
           ProviderRegistry& registry, std::ostream& log)
        : settings_(settings), broker_(broker), context_(context), registry_(registry), log_(log) {}

    bool load(const cimmof::ProviderRegistration& r) {
        if (!cimbroker::equalsIgnoreCase(r.nameSpace, settings_.servedNamespace)) {
            report(r, "namespace " + r.nameSpace + " is not served (only " +
                          settings_.servedNamespace + ")");
            return false;
        }
        Provider* provider = providerFor(r);
        if (provider == nullptr) {
            return false;
        }
        ClassBinding binding{r.nameSpace, r.className, provider, false, false};
        if (r.instance) {
            binding.instance = instanceMI(r, *provider) != nullptr;
        }
        if (r.association) {
            binding.association = associationMI(r, *provider) != nullptr;
        }
        if (!binding.instance && !binding.association) {
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
    };

    void report(const cimmof::ProviderRegistration& r, const std::string& why) {
        log_ << "cimp-cimom: " << where(r) << ": provider " << r.providerName << ": " << why
             << '\n';
    }

    const SharedLibrary* libraryFor(const cimmof::ProviderRegistration& r) {
        auto known = libraries_.find(r.library);
        if (known != libraries_.end()) {
            return known->second;
        }
        const std::string file = resolveLibraryFile(r.library, settings_.searchDirs);
        std::string error;
        SharedLibrary library = SharedLibrary::open(file, error);
        const SharedLibrary* kept = nullptr;
        if (library.isOpen()) {
            kept = &registry_.keepLibrary(std::move(library));
        } else {
            report(r, "cannot load library " + file + ": " + error);
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

    template <class Factory>
    Factory factory(const cimmof::ProviderRegistration& r, const char* suffix) {
        const std::string name = r.providerName + suffix;
        std::string error;
        void* address = providers_[r.providerName].library->symbol(name, error);
        if (address == nullptr) {
            report(r, "library " + r.library + " lacks symbol " + name + ": " + error);
        }
        return reinterpret_cast<Factory>(address);
    }

    template <class MI>
    MI* checked(const cimmof::ProviderRegistration& r, MI* mi, const CMPIStatus& rc,
                const char* suffix) {
        if (rc.rc != CMPI_RC_OK || mi == nullptr || mi->ft == nullptr) {
            const Status status = Status::fromCmpi(rc);
            report(r, r.providerName + suffix + " returned no MI (" + cimCodeName(status.code()) +
                          " " + status.description() + ")");
            return nullptr;
        }
        return mi;
    }

    CMPIInstanceMI* instanceMI(const cimmof::ProviderRegistration& r, Provider& provider) {
        ProviderState& state = providers_[r.providerName];
        if (!state.instanceTried) {
            state.instanceTried = true;
            static constexpr char kSuffix[] = "_Create_InstanceMI";
            if (InstanceFactory create = factory<InstanceFactory>(r, kSuffix)) {
                CMPIStatus rc{CMPI_RC_OK, nullptr};
                provider.instanceMI = checked(r, create(broker_, context_, &rc), rc, kSuffix);
            }
        }
        return provider.instanceMI;
    }

    CMPIAssociationMI* associationMI(const cimmof::ProviderRegistration& r, Provider& provider) {
        ProviderState& state = providers_[r.providerName];
        if (!state.associationTried) {
            state.associationTried = true;
            static constexpr char kSuffix[] = "_Create_AssociationMI";
            if (AssociationFactory create = factory<AssociationFactory>(r, kSuffix)) {
                CMPIStatus rc{CMPI_RC_OK, nullptr};
                provider.associationMI = checked(r, create(broker_, context_, &rc), rc, kSuffix);
            }
        }
        return provider.associationMI;
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
        if (isRegularFile(candidate)) {
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
