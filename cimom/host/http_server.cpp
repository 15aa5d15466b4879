#include "cimom/host/http_server.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace cimhost {
namespace {

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

// The library takes the body over and frees it once sent, so the answer is never copied.
MHD_Result send(MHD_Connection* connection, HttpResponse reply) {
    auto* body = new std::string(std::move(reply.body));
    MHD_Response* response = MHD_create_response_from_buffer_with_free_callback_cls(
        body->size(), body->data(), freeBody, body);
    if (response == nullptr) {
        delete body;
        return MHD_NO;
    }
    for (const auto& header : reply.headers) {
        MHD_add_response_header(response, header.first.c_str(), header.second.c_str());
    }
    const MHD_Result queued =
        MHD_queue_response(connection, static_cast<unsigned int>(reply.status), response);
    MHD_destroy_response(response);
    return queued;
}

HttpResponse internalError() {
    HttpResponse response;
    response.status = 500;
    return response;
}

MHD_Result onRequest(void* cls, MHD_Connection* connection, const char* url, const char* method,
                     const char*, const char* uploadData, size_t* uploadSize, void** state) {
    const CimService& service = *static_cast<const CimService*>(cls);
    try {
        // The request gathered so far on this connection; null on the first call.
        HttpRequest* pending = static_cast<HttpRequest*>(*state);
        if (pending == nullptr) {
            auto fresh = std::make_unique<HttpRequest>();
            fresh->method = method;
            fresh->url = url;
            MHD_get_connection_values(connection, MHD_HEADER_KIND, &collectHeader, fresh.get());
            if (std::optional<HttpResponse> refused =
                    service.screen(*fresh, declaredLength(*fresh))) {
                return send(connection, *refused);
            }
            *state = fresh.release();
            return MHD_YES;
        }
        if (*uploadSize > 0) {
            // One byte beyond the limit is kept so the service sees the body is too large.
            std::string& body = pending->body;
            const std::size_t room =
                kMaxRequestBody + 1 - std::min(body.size(), kMaxRequestBody + 1);
            body.append(uploadData, std::min(room, *uploadSize));
            *uploadSize = 0;
            return MHD_YES;
        }
        return send(connection, service.handle(*pending));
    } catch (...) {
        // Nothing may unwind into libmicrohttpd; the client gets a plain 500.
        return send(connection, internalError());
    }
}

void onCompleted(void*, MHD_Connection*, void** state, MHD_RequestTerminationCode) {
    delete static_cast<HttpRequest*>(*state);
    *state = nullptr;
}

}  // namespace

void HttpServer::DaemonDeleter::operator()(MHD_Daemon* daemon) const {
    MHD_stop_daemon(daemon);
}

std::unique_ptr<HttpServer> HttpServer::start(const HttpSettings& settings,
                                              const CimService& service, std::string& error) {
    sockaddr_in v4{};
    sockaddr_in6 v6{};
    const sockaddr* address = nullptr;
    unsigned int flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_AUTO;
    if (inet_pton(AF_INET, settings.address.c_str(), &v4.sin_addr) == 1) {
        v4.sin_family = AF_INET;
        v4.sin_port = htons(settings.port);
        address = reinterpret_cast<const sockaddr*>(&v4);
    } else if (inet_pton(AF_INET6, settings.address.c_str(), &v6.sin6_addr) == 1) {
        v6.sin6_family = AF_INET6;
        v6.sin6_port = htons(settings.port);
        address = reinterpret_cast<const sockaddr*>(&v6);
        flags |= MHD_USE_IPv6;
    } else {
        error = "\"" + settings.address + "\" is not a numeric IPv4 or IPv6 address";
        return nullptr;
    }
    std::unique_ptr<HttpServer> server(new HttpServer());
    server->daemon_.reset(MHD_start_daemon(
        flags, settings.port, nullptr, nullptr, &onRequest, const_cast<CimService*>(&service),
        MHD_OPTION_SOCK_ADDR, address, MHD_OPTION_THREAD_POOL_SIZE, settings.threads,
        MHD_OPTION_CONNECTION_TIMEOUT, settings.connectionTimeoutSeconds,
        MHD_OPTION_CONNECTION_LIMIT, settings.connectionLimit, MHD_OPTION_NOTIFY_COMPLETED,
        &onCompleted, nullptr, MHD_OPTION_END));
    if (!server->daemon_) {
        error = "cannot listen on " + settings.address + ":" + std::to_string(settings.port) +
                ": " + std::strerror(errno);
        return nullptr;
    }
    const MHD_DaemonInfo* info =
        MHD_get_daemon_info(server->daemon_.get(), MHD_DAEMON_INFO_BIND_PORT);
    server->port_ = info != nullptr ? info->port : settings.port;
    return server;
}

HttpServer::~HttpServer() = default;

}  // namespace cimhost
