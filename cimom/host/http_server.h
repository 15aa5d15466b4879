// HttpServer: the HTTP front of the host, on libmicrohttpd. It listens on one address, serves
// connections from a pool of worker threads (each request is handled whole on one of them),
// collects at most kMaxRequestBody bytes of a body and hands requests to the CimService. Idle
// connections time out. Stopping (destruction) closes the socket and waits for the workers, so
// no request is running once it returns. The service must outlive the server.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "cimom/host/cim_service.h"

struct MHD_Daemon;

namespace cimhost {

struct HttpSettings {
    std::string address = "127.0.0.1";  // a numeric IPv4 or IPv6 address
    std::uint16_t port = 5988;          // 0: any free port
    unsigned threads = 4;
    unsigned connectionTimeoutSeconds = 30;
    unsigned connectionLimit = 64;
};

class HttpServer {
  public:
    // Starts listening; null with `error` set when the address is bad or the port is taken.
    static std::unique_ptr<HttpServer> start(const HttpSettings& settings,
                                             const CimService& service, std::string& error);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // The port listened on (the chosen one when 0 was asked for).
    std::uint16_t port() const { return port_; }

  private:
    HttpServer() = default;

    struct DaemonDeleter {
        void operator()(MHD_Daemon* daemon) const;
    };
    std::unique_ptr<MHD_Daemon, DaemonDeleter> daemon_;
    std::uint16_t port_ = 0;
};

}  // namespace cimhost
