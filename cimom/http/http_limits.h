// The bounds on what one client can make an HTTP listener hold; the defaults are the daemon's.
#pragma once

#include <cstddef>

namespace cimhost {

// The largest request body a listener takes; a larger one is answered 413.
constexpr std::size_t kMaxRequestBody = 1u << 20;

struct HttpLimits {
    unsigned maxConnections = 1024;
    unsigned maxPerPeer = 256;
    unsigned requestSeconds = 10;  // to deliver one request, headers and body
    unsigned idleSeconds = 15;     // of silence, between requests or mid-request
};

}  // namespace cimhost
