#include "cimom/http/http_server.h"

#include <microhttpd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include "cimom/http/connection_watch.h"
#include "cimom/http/http_framing.h"

namespace cimhost {

struct HttpServer::Front {
    const CimService& service;
    RequestLog& log;
    BasicAuth* auth;
    Metrics& metrics;
    ConnectionWatch watch;
};

namespace {

using Front = HttpServer::Front;

ConnectionWatch::Connection* watched(MHD_Connection* connection) {
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    return info != nullptr ? static_cast<ConnectionWatch::Connection*>(info->socket_context)
                           : nullptr;
}

MHD_Result collectHeader(void* cls, MHD_ValueKind, const char* key, const char* value) {
    static_cast<HttpRequest*>(cls)->headers.emplace_back(key, value == nullptr ? "" : value);
    return MHD_YES;
}

std::optional<std::size_t> declaredLength(const HttpRequest& request) {
    const std::string* length = request.header("Content-Length");
    if (length == nullptr || length->empty()) {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(length->c_str(), &end, 10);
    if (errno != 0 || *end != '\0') {
        return static_cast<std::size_t>(-1);  // unreadable: judged as too large
    }
    return static_cast<std::size_t>(value);
}

void freeBody(void* body) {
    delete static_cast<std::string*>(body);
}

// The body moves to the library, which frees it once sent: no copy of a response is made.
MHD_Result send(MHD_Connection* connection, HttpResponse reply) {
    auto body = std::make_unique<std::string>(std::move(reply.body));
    MHD_Response* response = MHD_create_response_from_buffer_with_free_callback_cls(
        body->size(), &(*body)[0], &freeBody, body.get());
    if (response == nullptr) {
        return MHD_NO;
    }
    body.release();
    for (const auto& header : reply.headers) {
        MHD_add_response_header(response, header.first.c_str(), header.second.c_str());
    }
    const MHD_Result queued =
        MHD_queue_response(connection, static_cast<unsigned int>(reply.status), response);
    MHD_destroy_response(response);
    return queued;
}

MHD_Result refuse(Front& front, MHD_Connection* connection, const HttpRequest& request,
                  const Refusal& refusal) {
    front.log.write(refusal.logLine(request));
    return send(connection, refusal.response());
}

std::string peerOf(MHD_Connection* connection) {
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    return info != nullptr && info->client_addr != nullptr ? numericAddress(info->client_addr)
                                                           : "?";
}

// False when the request is refused for its credentials; the refusal is queued and logged.
bool authenticated(Front& front, MHD_Connection* connection, const HttpRequest& request) {
    const std::string peer = peerOf(connection);
    const BasicAuth::Verdict verdict = front.auth->check(request.header("Authorization"), peer);
    HttpResponse response;
    switch (verdict.outcome) {
        case BasicAuth::Outcome::Allowed:
            return true;
        case BasicAuth::Outcome::Busy:
        case BasicAuth::Outcome::Throttled:
            response.status = verdict.outcome == BasicAuth::Outcome::Busy ? 503 : 429;
            response.headers.emplace_back("Retry-After", std::to_string(verdict.retryAfter));
            break;
        case BasicAuth::Outcome::Refused:
            front.log.event("login refused for user \"" + verdict.user + "\" from " + peer);
            [[fallthrough]];
        case BasicAuth::Outcome::NoCredentials:
            response.status = 401;
            response.headers.emplace_back("WWW-Authenticate",
                                          "Basic realm=\"cimp-cimom\", charset=\"UTF-8\"");
            break;
    }
    front.log.write(httpLogLine(request, response.status, peer + " not authenticated"));
    send(connection, std::move(response));
    return false;
}

// Counts a request in flight for as long as it lives.
class InFlight {
  public:
    explicit InFlight(Metrics& metrics) : metrics_(metrics) { metrics_.requestStarted(); }
    ~InFlight() { metrics_.requestFinished(); }
    InFlight(const InFlight&) = delete;
    InFlight& operator=(const InFlight&) = delete;

  private:
    Metrics& metrics_;
};

HttpResponse plainText(std::string body, const char* contentType) {
    HttpResponse response;
    response.headers.emplace_back("Content-Type", contentType);
    response.body = std::move(body);
    return response;
}

// What a request asks for, decided once from its line.
enum class Endpoint { Health, Metrics, Cim };

Endpoint endpointOf(const HttpRequest& request) {
    if (request.method == "GET" && request.url == "/healthz") {
        return Endpoint::Health;
    }
    return request.method == "GET" && request.url == "/metrics" ? Endpoint::Metrics : Endpoint::Cim;
}

// A request between its first call and its answer.
struct Pending {
    HttpRequest request;
    Endpoint endpoint = Endpoint::Cim;
};

// The first call for a request: its line and headers are in, its body is not. Refusals are sent
// at once (the connection then closes, its body unread); everything else is answered on the last
// call, which keeps the connection open for the next request.
MHD_Result begin(Front& front, MHD_Connection* connection, const char* url, const char* method,
                 void** state) {
    auto fresh = std::make_unique<Pending>();
    HttpRequest& request = fresh->request;
    request.method = method;
    request.url = url;
    MHD_get_connection_values(connection, MHD_HEADER_KIND, &collectHeader, &request);
    if (std::optional<Refusal> refusal = refuseHeaders(request)) {
        return refuse(front, connection, request, *refusal);
    }
    fresh->endpoint = endpointOf(request);
    if (fresh->endpoint != Endpoint::Health && front.auth != nullptr &&
        !authenticated(front, connection, request)) {
        return MHD_YES;
    }
    if (fresh->endpoint == Endpoint::Cim) {
        if (std::optional<HttpResponse> refused =
                front.service.screen(request, declaredLength(request))) {
            return send(connection, std::move(*refused));
        }
    }
    *state = fresh.release();
    return MHD_YES;
}

// The last call: the whole request is in.
MHD_Result answer(Front& front, MHD_Connection* connection, const Pending& pending) {
    const HttpRequest& request = pending.request;
    front.watch.serving(watched(connection));
    switch (pending.endpoint) {
        case Endpoint::Health:
            return send(connection, plainText("ok\n", "text/plain; charset=utf-8"));
        case Endpoint::Metrics:
            return send(connection, plainText(front.metrics.exposition(),
                                              "text/plain; version=0.0.4; charset=utf-8"));
        case Endpoint::Cim:
            break;
    }
    if (std::optional<Refusal> refusal = refuseBody(request)) {
        return refuse(front, connection, request, *refusal);
    }
    const InFlight counted(front.metrics);
    return send(connection, front.service.handle(request));
}

MHD_Result onRequest(void* cls, MHD_Connection* connection, const char* url, const char* method,
                     const char*, const char* uploadData, size_t* uploadSize, void** state) {
    Front& front = *static_cast<Front*>(cls);
    try {
        // The request gathered so far on this connection; null on the first call.
        Pending* pending = static_cast<Pending*>(*state);
        if (pending == nullptr) {
            return begin(front, connection, url, method, state);
        }
        if (*uploadSize > 0) {
            // One byte beyond the limit is kept so the service sees the body is too large.
            std::string& body = pending->request.body;
            const std::size_t room =
                kMaxRequestBody + 1 - std::min(body.size(), kMaxRequestBody + 1);
            body.append(uploadData, std::min(room, *uploadSize));
            *uploadSize = 0;
            return MHD_YES;
        }
        return answer(front, connection, *pending);
    } catch (const std::bad_alloc&) {
        // Nothing may unwind into libmicrohttpd: a request that runs out of memory gets a plain
        // 500; any other exception is a defect and ends the daemon.
        HttpResponse internalError;
        internalError.status = 500;
        return send(connection, std::move(internalError));
    }
}

void onCompleted(void* cls, MHD_Connection* connection, void** state, MHD_RequestTerminationCode) {
    delete static_cast<Pending*>(*state);
    *state = nullptr;
    if (ConnectionWatch::Connection* watchedConnection = watched(connection)) {
        static_cast<Front*>(cls)->watch.answered(watchedConnection);
    }
}

void* onRequestLine(void* cls, const char*, MHD_Connection* connection) {
    if (ConnectionWatch::Connection* watchedConnection = watched(connection)) {
        static_cast<Front*>(cls)->watch.requestLineArrived(watchedConnection);
    }
    return nullptr;
}

void onConnection(void* cls, MHD_Connection* connection, void** socketContext,
                  MHD_ConnectionNotificationCode code) {
    Front& front = *static_cast<Front*>(cls);
    ConnectionWatch& watch = front.watch;
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
        front.metrics.connectionOpened();
        const MHD_ConnectionInfo* info =
            MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
        *socketContext = info != nullptr ? watch.opened(info->connect_fd) : nullptr;
        return;
    }
    front.metrics.connectionClosed();
    if (*socketContext != nullptr) {
        watch.closed(static_cast<ConnectionWatch::Connection*>(*socketContext));
        *socketContext = nullptr;
    }
}

}  // namespace

cimp::Outcome HttpServer::start(const HttpSettings& settings, const CimService& service,
                                RequestLog& log, std::unique_ptr<HttpServer>* server) {
    // The inter-thread channel lets stopping wake every worker at once, even one whose listening
    // socket is out of its epoll set because its share of connections is full.
    unsigned int flags = MHD_USE_EPOLL_INTERNAL_THREAD | MHD_USE_ITC;
    if (settings.address.v6) {
        flags |= MHD_USE_IPv6;
    }
    std::unique_ptr<HttpServer> started(new HttpServer());
    const std::chrono::seconds requestTime(settings.limits.requestSeconds);
    const std::chrono::seconds idleTime(settings.limits.idleSeconds);
    started->front_.reset(
        new Front{service, log, settings.auth, *settings.metrics, {requestTime, idleTime}});
    Front* front = started->front_.get();
    sockaddr_storage socket = settings.address.socketAt(settings.port);
    std::vector<MHD_OptionItem> options = {
        {MHD_OPTION_SOCK_ADDR, 0, &socket},
        {MHD_OPTION_THREAD_POOL_SIZE, settings.threads, nullptr},
        {MHD_OPTION_CONNECTION_TIMEOUT, settings.limits.idleSeconds, nullptr},
        {MHD_OPTION_CONNECTION_LIMIT, settings.limits.maxConnections, nullptr},
        {MHD_OPTION_PER_IP_CONNECTION_LIMIT, settings.limits.maxPerPeer, nullptr},
        {MHD_OPTION_NOTIFY_COMPLETED, reinterpret_cast<intptr_t>(&onCompleted), front},
        {MHD_OPTION_NOTIFY_CONNECTION, reinterpret_cast<intptr_t>(&onConnection), front},
        {MHD_OPTION_URI_LOG_CALLBACK, reinterpret_cast<intptr_t>(&onRequestLine), front},
    };
    if (settings.tls != nullptr) {
        flags |= MHD_USE_TLS;
        options.push_back({MHD_OPTION_HTTPS_MEM_CERT, 0,
                           const_cast<char*>(settings.tls->certificatePem.c_str())});
        options.push_back(
            {MHD_OPTION_HTTPS_MEM_KEY, 0, const_cast<char*>(settings.tls->keyPem.c_str())});
        options.push_back({MHD_OPTION_HTTPS_PRIORITIES, 0, const_cast<char*>(kTlsPriorities)});
    }
    options.push_back({MHD_OPTION_END, 0, nullptr});
    started->daemon_ = {MHD_start_daemon(flags, settings.port, nullptr, nullptr, &onRequest, front,
                                         MHD_OPTION_ARRAY, options.data(), MHD_OPTION_END),
                        &MHD_stop_daemon};
    if (!started->daemon_) {
        return cimp::Outcome::failed("cannot listen on " + settings.address.withPort(settings.port),
                                     std::strerror(errno));
    }
    const MHD_DaemonInfo* info =
        MHD_get_daemon_info(started->daemon_.get(), MHD_DAEMON_INFO_BIND_PORT);
    started->port_ = info != nullptr ? info->port : settings.port;
    *server = std::move(started);
    return cimp::Outcome::success();
}

HttpServer::~HttpServer() = default;

}  // namespace cimhost
