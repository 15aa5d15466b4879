#include "cimom/http/http_message.h"

#include "broker/text_case.h"

namespace cimhost {

const std::string* HttpRequest::header(const char* name) const {
    for (const auto& entry : headers) {
        if (cimbroker::equalsIgnoreCase(entry.first, name)) {
            return &entry.second;
        }
    }
    return nullptr;
}

std::string httpLogLine(const HttpRequest& request, int status, const std::string& why) {
    return request.method + " " + request.url + " HTTP " + std::to_string(status) + " (" + why +
           ")";
}

std::string trimmed(const std::string& text, const char* blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace cimhost
