// HTTP-level checks the front makes before the CIM service sees a request: what HTTP/1.1 forbids
// or leaves this server to guess, refused instead of guessed.
//  - no Host header (400);
//  - Content-Length sent twice with different values (400), or with a value that is no number;
//  - a Transfer-Encoding other than chunked (501);
//  - a body in another encoding than the UTF-8 the Content-Type promises: an XML declaration
//    naming another encoding, or a UTF-16 byte order mark or pattern (400 request-not-valid).
#pragma once

#include <optional>
#include <string>

#include "cimom/http/http_message.h"

namespace cimhost {

// A request refused before any CIM operation runs, by the front or by the CIM service.
struct Refusal {
    int status;
    std::string cimError;  // the CIMError header, empty for none
    std::string why;       // for the log

    // The answer: the status, and the CIMError header when there is one.
    HttpResponse response() const;
    // The request log line, "METHOD URL HTTP status (cimError: why)".
    std::string logLine(const HttpRequest& request) const;
};

std::optional<Refusal> refuseHeaders(const HttpRequest& request);
std::optional<Refusal> refuseBody(const HttpRequest& request);

}  // namespace cimhost
