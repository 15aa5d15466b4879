// Listeners: the daemon's HTTP listeners as its options ask for them. Planned (address
// resolved) before anything else is loaded, started once the service is ready.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <vector>

#include "cimom/host/daemon_options.h"
#include "cimom/host/http_server.h"
#include "cimom/host/listen_address.h"

namespace cimhost {

struct ListenerPlan {
    ListenAddress address;
    std::optional<std::uint16_t> plainPort;
};

// Warnings go to `warnings`; failed when the daemon must not start.
Status planListeners(const DaemonOptions& options, ListenerPlan& plan, std::ostream& warnings);

// Starts every planned listener; prints "listening on ..." for each on `ready` once all are.
Status startListeners(ListenerPlan& plan, const DaemonOptions& options,
                      const CimService& service, RequestLog& log,
                      std::vector<std::unique_ptr<HttpServer>>& servers, std::ostream& ready);

}  // namespace cimhost
