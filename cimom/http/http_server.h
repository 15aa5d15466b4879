// HttpServer: one HTTP listener of the host, on libmicrohttpd. A few worker threads (one per
// core by default) each wait on an epoll set of connections, so an idle or slow connection costs
// a descriptor and a few bytes, not a thread; each request is handled whole on one worker.
//
// Everything a client can make it hold is bounded (HttpLimits): connections in all and per peer
// address, the time to deliver a request (ConnectionWatch), the silence between requests, at most
// kMaxRequestBody bytes of a body. Requests whose framing HTTP forbids are refused before the CIM
// service sees them (http_framing.h). With a password file every request must carry Basic
// credentials: 401 with a challenge without them, 429 while its peer is throttled, and each
// refused login is logged with the peer address (never the password).
//
// Beside CIM-XML it answers GET /healthz with 200 to anyone, and GET /metrics with the Metrics
// exposition (behind the password file like every other request), and counts open connections
// and requests in flight into Metrics.
//
// Stopping (destruction) wakes every worker at once, closes every connection and waits for the
// workers, so no request is running once it returns. The service, the log and the metrics must
// outlive the server.
#pragma once

#include <cstdint>
#include <memory>

#include "base/outcome.h"
#include "cimom/http/basic_auth.h"
#include "cimom/http/cim_service.h"
#include "cimom/http/http_limits.h"
#include "cimom/http/listen_address.h"
#include "cimom/http/metrics.h"
#include "cimom/http/request_log.h"
#include "cimom/http/tls_credentials.h"

struct MHD_Daemon;

namespace cimhost {

struct HttpSettings {
    ListenAddress address;
    std::uint16_t port = 5988;  // 0: any free port
    unsigned threads = 1;
    HttpLimits limits;
    const TlsCredentials* tls = nullptr;  // HTTPS when set; must outlive start()
    BasicAuth* auth = nullptr;            // every request authenticated when set; outlives us
    Metrics* metrics = nullptr;           // required; outlives us
};

class HttpServer {
  public:
    // Starts listening; failed when the port is taken or the address is not this host's.
    static cimp::Outcome start(const HttpSettings& settings, const CimService& service,
                               RequestLog& log, std::unique_ptr<HttpServer>* server);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // The port listened on (the chosen one when 0 was asked for).
    std::uint16_t port() const { return port_; }

    struct Front;

  private:
    HttpServer() = default;

    std::unique_ptr<Front> front_;
    // Stopped (MHD_stop_daemon) before front_ goes.
    std::unique_ptr<MHD_Daemon, void (*)(MHD_Daemon*)> daemon_{nullptr, nullptr};
    std::uint16_t port_ = 0;
};

}  // namespace cimhost
