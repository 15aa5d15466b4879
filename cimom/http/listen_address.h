// The address a listener binds: a numeric IPv4 or IPv6 address or a host name, resolved once at
// start-up (IPv4 preferred when a name has both, as "localhost" usually does).
#pragma once

#include <sys/socket.h>

#include <cstdint>
#include <string>

#include "base/outcome.h"

namespace cimhost {

struct ListenAddress {
    sockaddr_storage socket{};  // port 0
    bool v6 = false;
    bool loopback = false;  // 127.0.0.0/8 or ::1 (also IPv4-mapped)
    std::string numeric;    // "127.0.0.1", "::1"

    // "127.0.0.1:5988", "[::1]:5988".
    std::string withPort(std::uint16_t port) const;
    // The socket address with `port` in it.
    sockaddr_storage socketAt(std::uint16_t port) const;
};

// Failed when `name` does not resolve to an address of this host's families.
cimp::Outcome resolveListenAddress(const std::string& name, ListenAddress* out);

// The numeric text of an IPv4 or IPv6 socket address; "?" for another family.
std::string numericAddress(const sockaddr* address);

}  // namespace cimhost
