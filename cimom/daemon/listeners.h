// Listeners: the daemon's HTTP and HTTPS listeners as its options ask for them. Planned (address
// resolved, certificate and password file read, safety checked) before anything else is loaded,
// started once the service is ready.
//
// Without TLS options one plain listener on --port (5988). With them an HTTPS listener on
// --tls-port (5989), and a plain one as well only when --port is given. A non-loopback address
// needs a password file, and gets a warning without TLS, unless --allow-insecure-remote says
// both are meant.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <vector>

#include "base/outcome.h"
#include "cimom/daemon/daemon_options.h"
#include "cimom/http/basic_auth.h"
#include "cimom/http/http_server.h"
#include "cimom/http/listen_address.h"
#include "cimom/http/tls_credentials.h"

namespace cimhost {

struct ListenerPlan {
    ListenAddress address;
    std::optional<std::uint16_t> plainPort;
    std::optional<std::uint16_t> tlsPort;
    std::optional<TlsCredentials> tls;
    std::unique_ptr<BasicAuth> auth;
};

// Warnings go to `warnings`; failed when the daemon must not start.
cimp::Outcome planListeners(const DaemonOptions& options, ListenerPlan* plan,
                            std::ostream& warnings);

// Starts every planned listener; prints "listening on ..." for each on `ready` once all are.
cimp::Outcome startListeners(const ListenerPlan& plan, const DaemonOptions& options,
                             const CimService& service, RequestLog& log, Metrics& metrics,
                             std::vector<std::unique_ptr<HttpServer>>* servers,
                             std::ostream& ready);

}  // namespace cimhost
