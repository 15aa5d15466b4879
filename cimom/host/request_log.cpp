#include "cimom/host/request_log.h"

#include <ostream>

namespace cimhost {

void RequestLog::write(const std::string& line) {
    const std::string whole = "cimp-cimom: " + line + "\n";
    std::lock_guard<std::mutex> lock(mutex_);
    out_.write(whole.data(), static_cast<std::streamsize>(whole.size()));
    out_.flush();
}

}  // namespace cimhost
