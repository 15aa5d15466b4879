#include "cimom/http/http_message.h"

#include "base/text_case.h"

namespace cimhost {

const std::string* HttpRequest::header(const char* name) const {
    for (const auto& entry : headers) {
        if (cimp::equalsIgnoreCase(entry.first, name)) {
            return &entry.second;
        }
    }
    return nullptr;
}

std::string httpLogLine(const HttpRequest& request, int status, const std::string& why) {
    return request.method + " " + request.url + " HTTP " + std::to_string(status) + " (" + why +
           ")";
}

}  // namespace cimhost
