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

}  // namespace cimhost
