#include "broker/call_log.h"

#include "broker/text_case.h"

namespace cimbroker {

std::vector<std::string> CallLog::names() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return names_;
}

void CallLog::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    names_.clear();
}

size_t CallLog::count(const std::string& name) const {
    const bool countQualified = name.find(':') == std::string::npos;
    std::lock_guard<std::mutex> lock(mutex_);
    size_t matches = 0;
    for (const std::string& logged : names_) {
        const std::string_view service = countQualified
                                             ? std::string_view(logged).substr(0, logged.find(':'))
                                             : std::string_view(logged);
        if (equalsIgnoreCase(service, name)) {
            ++matches;
        }
    }
    return matches;
}

void CallLog::record(std::string name) {
    std::lock_guard<std::mutex> lock(mutex_);
    names_.push_back(std::move(name));
}

}  // namespace cimbroker
