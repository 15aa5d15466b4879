#include "cimom/http/listen_address.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>

#include <cstring>
#include <memory>

namespace cimhost {
namespace {

bool isLoopback(const sockaddr_storage& socket) {
    if (socket.ss_family == AF_INET) {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(socket);
        return (ntohl(v4.sin_addr.s_addr) >> 24) == 127;
    }
    const in6_addr& v6 = reinterpret_cast<const sockaddr_in6&>(socket).sin6_addr;
    if (IN6_IS_ADDR_V4MAPPED(&v6)) {
        return v6.s6_addr[12] == 127;
    }
    return IN6_IS_ADDR_LOOPBACK(&v6);
}

}  // namespace

std::string ListenAddress::withPort(std::uint16_t port) const {
    const std::string host = v6 ? "[" + numeric + "]" : numeric;
    return host + ":" + std::to_string(port);
}

sockaddr_storage ListenAddress::socketAt(std::uint16_t port) const {
    sockaddr_storage at = socket;
    if (v6) {
        reinterpret_cast<sockaddr_in6&>(at).sin6_port = htons(port);
    } else {
        reinterpret_cast<sockaddr_in&>(at).sin_port = htons(port);
    }
    return at;
}

cimp::Outcome resolveListenAddress(const std::string& name, ListenAddress* out) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int rc = getaddrinfo(name.c_str(), nullptr, &hints, &found);
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> list(found, &freeaddrinfo);
    const addrinfo* chosen = nullptr;
    for (const addrinfo* entry = found; rc == 0 && entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET) {
            chosen = entry;
            break;
        }
        if (entry->ai_family == AF_INET6 && chosen == nullptr) {
            chosen = entry;
        }
    }
    if (chosen == nullptr) {
        return cimp::Outcome::failed("cannot listen on \"" + name + "\"",
                                     rc != 0 ? gai_strerror(rc) : "no IPv4 or IPv6 address");
    }
    std::memcpy(&out->socket, chosen->ai_addr, chosen->ai_addrlen);
    out->v6 = chosen->ai_family == AF_INET6;
    out->numeric = numericAddress(chosen->ai_addr);
    out->loopback = isLoopback(out->socket);
    return cimp::Outcome::success();
}

std::string numericAddress(const sockaddr* address) {
    char text[INET6_ADDRSTRLEN] = "?";
    const void* bytes =
        address->sa_family == AF_INET6
            ? static_cast<const void*>(&reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr)
            : static_cast<const void*>(&reinterpret_cast<const sockaddr_in*>(address)->sin_addr);
    inet_ntop(address->sa_family, bytes, text, sizeof text);
    return text;
}

}  // namespace cimhost
