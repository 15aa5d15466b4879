#include "cimom/daemon/listeners.h"

#include <sys/resource.h>

#include <algorithm>
#include <ostream>
#include <thread>

#include "base/bounded_file.h"
#include "cimom/http/password_file.h"

namespace cimhost {
namespace {

constexpr std::uint16_t kPlainPort = 5988;

// Every connection is a descriptor; the soft limit is raised (up to the hard one) to hold the
// connection limits with room for the daemon's own files.
void allowDescriptors(unsigned connections) {
    constexpr rlim_t kOwnFiles = 64;
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < connections + kOwnFiles) {
        limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, connections + kOwnFiles);
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

cimp::Outcome readPem(const std::string& path, std::string* pem) {
    cimp::FileContent file = cimp::readBoundedFile(path, kMaxPemSize);
    *pem = std::move(file.bytes);
    return file.status;
}

}  // namespace

cimp::Outcome planListeners(const DaemonOptions& options, ListenerPlan* plan,
                            std::ostream& warnings) {
    cimp::Outcome status = resolveListenAddress(options.address, &plan->address);
    if (status.ok() && options.tlsCertificate) {
        plan->tls.emplace();
        status = readPem(*options.tlsCertificate, &plan->tls->certificatePem);
        if (status.ok()) {
            status = readPem(*options.tlsKey, &plan->tls->keyPem);
        }
        plan->tlsPort = options.tlsPort;
    }
    plan->plainPort = options.port;
    if (!plan->tls && !plan->plainPort) {
        plan->plainPort = kPlainPort;
    }
    if (status.ok() && options.authFile) {
        PasswordFile accounts;
        status = loadPasswordFile(*options.authFile, &accounts);
        plan->auth = std::make_unique<BasicAuth>(std::move(accounts));
    }
    if (!status.ok() || plan->address.loopback || options.allowInsecureRemote) {
        return status;
    }
    if (!plan->auth) {
        return cimp::Outcome::failed("", "refusing to serve " + plan->address.numeric +
                                             ", which is not loopback, without --auth-file "
                                             "(--allow-insecure-remote if that is meant)");
    }
    if (!plan->tls || plan->plainPort) {
        warnings << "cimp-cimom: warning: passwords cross the network in clear on plain HTTP\n";
    }
    return status;
}

cimp::Outcome startListeners(const ListenerPlan& plan, const DaemonOptions& options,
                             const CimService& service, RequestLog& log, Metrics& metrics,
                             std::vector<std::unique_ptr<HttpServer>>* servers,
                             std::ostream& ready) {
    HttpSettings settings;
    settings.address = plan.address;
    // One worker per core; hardware_concurrency() is 0 when it cannot tell.
    settings.threads =
        options.threads != 0 ? options.threads : std::max(1u, std::thread::hardware_concurrency());
    settings.limits = options.limits;
    settings.auth = plan.auth.get();
    settings.metrics = &metrics;
    const bool both = plan.plainPort && plan.tlsPort;
    allowDescriptors(settings.limits.maxConnections * (both ? 2 : 1));
    std::vector<std::string> lines;
    for (const bool tls : {false, true}) {
        const std::optional<std::uint16_t>& port = tls ? plan.tlsPort : plan.plainPort;
        if (!port) {
            continue;
        }
        settings.port = *port;
        settings.tls = tls ? &*plan.tls : nullptr;
        std::unique_ptr<HttpServer> server;
        const cimp::Outcome started = HttpServer::start(settings, service, log, &server);
        if (!started.ok()) {
            return started;
        }
        lines.push_back("listening on " + plan.address.withPort(server->port()) +
                        (tls ? " (https)" : ""));
        servers->push_back(std::move(server));
    }
    for (const std::string& line : lines) {
        ready << line << '\n';
    }
    ready.flush();
    return cimp::Outcome::success();
}

}  // namespace cimhost
