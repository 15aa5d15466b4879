// The daemon's configuration file: `key = value` lines; blank lines and comments (from a `#` at
// the start of a line or after a blank to the end of the line) are skipped. Only the syntax is
// judged here; what the keys mean is the caller's.
#pragma once

#include <string>
#include <vector>

#include "base/outcome.h"

namespace cimhost {

struct ConfigLine {
    unsigned number;  // from 1
    std::string key;
    std::string value;  // blanks around it removed
};

// Failed with "FILE:LINE: message" on a line that is not `key = value`, or when the file cannot
// be read or is larger than a configuration file has reason to be.
cimp::Outcome readConfigFile(const std::string& path, std::vector<ConfigLine>* lines);

}  // namespace cimhost
