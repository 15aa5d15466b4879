// The HTTP request and response as the CIM service sees them, free of any HTTP library: the HTTP
// front fills an HttpRequest and sends the HttpResponse back. Plain data; and how a header's
// value is read, without the blanks around it.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace cimhost {

struct HttpRequest {
    std::string method;
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // The value of header `name` (any case), or null.
    const std::string* header(const char* name) const;
};

struct HttpResponse {
    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers;
    // The whole answer in one buffer, written in place by the encoder; the front moves it to
    // the HTTP library rather than copying it.
    std::string body;
};

// "METHOD URL HTTP status (why)": the log line of a request answered before any CIM operation.
std::string httpLogLine(const HttpRequest& request, int status, const std::string& why);

}  // namespace cimhost
