#include "cimom/daemon/config_file.h"

#include <sstream>

#include "base/bounded_file.h"
#include "base/text.h"

namespace cimhost {

using cimp::trimmed;

namespace {

constexpr std::size_t kMaxConfigSize = 64 * 1024;
constexpr const char* kBlanks = " \t\r";

std::string withoutComment(const std::string& line) {
    for (std::size_t at = line.find('#'); at != std::string::npos; at = line.find('#', at + 1)) {
        if (at == 0 || line[at - 1] == ' ' || line[at - 1] == '\t') {
            return line.substr(0, at);
        }
    }
    return line;
}

}  // namespace

cimp::Outcome readConfigFile(const std::string& path, std::vector<ConfigLine>* lines) {
    const cimp::FileContent file = cimp::readBoundedFile(path, kMaxConfigSize);
    if (!file.status.ok()) {
        return file.status;
    }
    std::istringstream in(file.bytes);
    std::string line;
    for (unsigned number = 1; std::getline(in, line); ++number) {
        const std::string content = trimmed(withoutComment(line), kBlanks);
        if (content.empty()) {
            continue;
        }
        const std::size_t equals = content.find('=');
        const std::string key = trimmed(content.substr(0, equals), kBlanks);
        if (equals == std::string::npos || key.empty()) {
            return cimp::Outcome::badUsage(path + ":" + std::to_string(number),
                                           "expected \"key = value\"");
        }
        lines->push_back({number, key, trimmed(content.substr(equals + 1), kBlanks)});
    }
    return cimp::Outcome::success();
}

}  // namespace cimhost
