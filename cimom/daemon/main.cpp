// cimp-cimom: the embedded CIMOM. Loads the schema and the registered providers, serves CIM-XML
// over HTTP until SIGINT or SIGTERM, then calls every provider's cleanup once and exits 0.
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "base/absolute_path.h"
#include "broker/broker_runtime.h"
#include "cimom/cim/namespace_schema.h"
#include "cimom/daemon/daemon_settings.h"
#include "cimom/daemon/default_paths.h"
#include "cimom/daemon/indication_host.h"
#include "cimom/daemon/listeners.h"
#include "cimom/dispatch/interop_namespace.h"
#include "cimom/dispatch/provider_loader.h"
#include "cimom/dispatch/provider_registry.h"
#include "cimom/http/cim_service.h"
#include "cimom/http/metrics.h"
#include "cimom/http/password_file.h"
#include "cimom/http/request_log.h"
#include "cimom/indication/state_folder.h"
#include "cimom/mof/registration.h"
#include "platform/platform_state.h"

namespace {

using namespace cimhost;

constexpr int kExitUsage = 2;
constexpr int kExitStartFailed = 1;

// The providers the daemon serves; every provider's cleanup runs once, with a context of its
// own, when they go (after the listeners, which are declared later and so stop first).
class LoadedProviders {
  public:
    explicit LoadedProviders(cimbroker::Runtime& runtime) : runtime_(runtime) {}
    ~LoadedProviders() {
        cimbroker::RequestScope scope(runtime_);
        registry.cleanup(scope.context(), std::cerr);
    }
    LoadedProviders(const LoadedProviders&) = delete;
    LoadedProviders& operator=(const LoadedProviders&) = delete;

    ProviderRegistry registry;

  private:
    cimbroker::Runtime& runtime_;
};

// Prints a failed step's message; the exit status of a daemon that cannot start.
int startFailed(const cimp::Outcome& outcome) {
    std::cerr << "cimp-cimom: " << outcome.message() << '\n';
    return kExitStartFailed;
}

// Fills in what was left to a default, so that the daemon runs with what --print-config shows.
// A platform root from the environment is taken as the platform takes it.
void resolveDefaults(const DefaultPaths& defaults, DaemonSettings& settings) {
    DaemonOptions& options = settings.options;
    options.schemaFile = options.schemaFile.value_or(defaults.schemaFile);
    options.registrationFile = options.registrationFile.value_or(defaults.registrationFile);
    options.providerDir = options.providerDir.value_or(defaults.providerDir);
    if (options.stateDir) {
        options.stateDir = cimp::absolutePath(*options.stateDir);
    }
    std::optional<std::string> inherited = cimpPlatformRootFromEnvironment();
    if (options.platformRoot) {
        options.platformRoot = cimp::absolutePath(*options.platformRoot);
    } else if (inherited) {
        options.platformRoot = inherited;
        settings.origins[*findSetting("platform-root")] = "$CIMP_PLATFORM_ROOT";
    } else if (!defaults.platformRoot.empty()) {
        options.platformRoot = defaults.platformRoot;
    }
}

// The simulated platform reads CIMP_PLATFORM_ROOT at every call; it is set before any provider
// loads and never changed afterwards. Without a root the platform's own default applies.
cimp::Outcome choosePlatformRoot(const std::optional<std::string>& root) {
    if (!root) {
        return cimp::Outcome::success();
    }
    if (std::error_code error; !std::filesystem::is_directory(*root, error)) {
        return cimp::Outcome::failed("", "platform root " + *root + " is not a directory");
    }
    setenv("CIMP_PLATFORM_ROOT", root->c_str(), 1);
    return cimp::Outcome::success();
}

// Waits for SIGINT or SIGTERM, writing out the request log meanwhile so that no line waits in
// its buffer for long.
int awaitStop(const sigset_t& stopSignals, RequestLog& log) {
    const timespec tick{0, std::chrono::nanoseconds(RequestLog::kFlushInterval).count()};
    for (;;) {
        const int signal = sigtimedwait(&stopSignals, nullptr, &tick);
        log.flush();
        if (signal > 0) {
            return signal;
        }
    }
}

cimbroker::ClassHierarchy hierarchyOf(const NamespaceSchema& schema) {
    cimbroker::ClassHierarchy hierarchy;
    for (const auto& entry : schema.classes.hierarchy()) {
        hierarchy.add(entry.first, entry.second);
    }
    return hierarchy;
}

// Binds the registered providers; counts those that did not load into the metrics.
void loadRegisteredProviders(const std::vector<cimmof::ProviderRegistration>& registrations,
                             const DaemonOptions& options, cimbroker::Runtime& runtime,
                             ProviderRegistry& providers, Metrics& metrics) {
    cimbroker::RequestScope scope(runtime);
    LoaderSettings settings;
    settings.searchDirs.push_back(*options.providerDir);
    settings.servedNamespace = options.nameSpace;
    const int bound = loadProviders(registrations, settings, runtime.broker(), scope.context(),
                                    providers, std::cerr);
    if (bound == 0) {
        std::cerr << "cimp-cimom: no provider loaded; serving the schema only\n";
    }
    metrics.setProviderLoadFailures(static_cast<unsigned>(registrations.size()) -
                                    static_cast<unsigned>(bound));
}

// Serves once the listeners are planned and the schema and registrations read, until a stop
// signal; everything it set up goes in reverse order as it returns.
int serve(const DaemonOptions& options, const ListenerPlan& plan, const NamespaceSchema& schema,
          const std::vector<cimmof::ProviderRegistration>& registrations,
          const sigset_t& stopSignals) {
    cimbroker::Runtime runtime;
    runtime.setClassHierarchy(hierarchyOf(schema));
    Metrics metrics(cimpCommittedErrlEntries);
    RequestLog log(std::cerr, options.quiet);
    LoadedProviders providers(runtime);
    loadRegisteredProviders(registrations, options, runtime, providers.registry, metrics);
    std::unique_ptr<InteropNamespace> interop;
    const cimp::Outcome interopLoaded =
        InteropNamespace::load(*options.schemaFile, schema, providers.registry, &interop);
    if (!interopLoaded.ok()) {
        return startFailed(interopLoaded);
    }
    IndicationHost indications(runtime, schema, *interop, providers.registry, options, std::cerr);
    metrics.watchDelivery(&indications.delivery());
    CimService service(runtime, schema, providers.registry, log, interop.get(), &metrics,
                       &indications.interopInstances());
    std::vector<std::unique_ptr<HttpServer>> servers;
    std::cerr << "cimp-cimom: schema " << *options.schemaFile << ", registrations "
              << *options.registrationFile << ", platform root "
              << options.platformRoot.value_or("(platform default)") << '\n';
    std::cerr << "cimp-cimom: "
              << (options.stateDir ? "subscriptions persist in " + *options.stateDir
                                   : std::string("no state folder: subscriptions last until the "
                                                 "daemon stops"))
              << '\n';
    const cimp::Outcome started =
        startListeners(plan, options, service, log, metrics, &servers, std::cerr);
    if (!started.ok()) {
        return startFailed(started);
    }
    const int signal = awaitStop(stopSignals, log);
    std::cerr << "cimp-cimom: stopping on signal " << signal << std::endl;
    return 0;
}

// Plans the listeners and reads the schema and registrations before anything loads.
int start(const DaemonOptions& options) {
    ListenerPlan plan;
    cimp::Outcome ready = planListeners(options, &plan, std::cerr);
    if (ready.ok()) {
        ready = choosePlatformRoot(options.platformRoot);
    }
    if (ready.ok()) {
        ready = StateFolder(options.stateDir.value_or("")).prepare();
    }
    if (!ready.ok()) {
        return startFailed(ready);
    }
    // Workers inherit this mask, so the signals reach only sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    NamespaceSchema schema;
    std::vector<cimmof::ProviderRegistration> registrations;
    cimp::Outcome read = NamespaceSchema::load(*options.schemaFile, options.nameSpace, &schema);
    if (read.ok()) {
        read = cimmof::loadRegistrations(*options.registrationFile, &registrations);
    }
    if (!read.ok()) {
        return startFailed(read);
    }
    return serve(options, plan, schema, registrations, stopSignals);
}

// cimp-cimom passwd FILE USER: the password is the first line of stdin, so that it appears in
// no command line and no process listing.
int setPasswordCommand(const std::vector<std::string>& args) {
    if (args.size() != 3) {
        std::cerr << "usage: cimp-cimom passwd FILE USER  (password on stdin)\n";
        return kExitUsage;
    }
    std::string password;
    if (!std::getline(std::cin, password) || password.empty()) {
        std::cerr << "cimp-cimom: no password on stdin\n";
        return kExitUsage;
    }
    const cimp::Outcome set = setPassword(args[1], args[2], password);
    return set.ok() ? 0 : startFailed(set);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "passwd") {
        return setPasswordCommand(args);
    }
    DaemonSettings settings;
    const DefaultPaths defaults = defaultPaths();
    const cimp::Outcome loaded = loadDaemonSettings(args, defaults.configFile, &settings);
    if (!loaded.ok()) {
        std::cerr << "cimp-cimom: " << loaded.message()
                  << "\n(cimp-cimom --help lists the options)\n";
        return kExitUsage;
    }
    if (settings.help) {
        std::cout << daemonUsage();
        return 0;
    }
    resolveDefaults(defaults, settings);
    if (settings.printConfig) {
        std::cout << describeSettings(settings);
        return 0;
    }
    return start(settings.options);
}
