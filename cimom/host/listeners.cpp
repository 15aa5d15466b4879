#include "cimom/host/listeners.h"

#include <sys/resource.h>

#include <algorithm>
#include <ostream>
#include <thread>


namespace cimhost {
namespace {

constexpr std::uint16_t kPlainPort = 5988;

unsigned coreCount() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores != 0 ? cores : 1;
}

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

}  // namespace

Status planListeners(const DaemonOptions& options, ListenerPlan& plan, std::ostream&) {
    plan.plainPort = options.port.value_or(kPlainPort);
    return resolveListenAddress(options.address, plan.address);
}

Status startListeners(ListenerPlan& plan, const DaemonOptions& options,
                      const CimService& service, RequestLog& log,
                      std::vector<std::unique_ptr<HttpServer>>& servers, std::ostream& ready) {
    HttpSettings settings;
    settings.address = plan.address;
    settings.threads = options.threads != 0 ? options.threads : coreCount();
    settings.limits = options.limits;
    allowDescriptors(settings.limits.maxConnections);
    settings.port = *plan.plainPort;
    std::unique_ptr<HttpServer> server;
    Status started = HttpServer::start(settings, service, log, server);
    if (!started.isOk()) {
        return started;
    }
    ready << "listening on " << plan.address.withPort(server->port()) << std::endl;
    servers.push_back(std::move(server));
    return Status::ok();
}

}  // namespace cimhost
