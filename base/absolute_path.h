// A path made absolute against the working directory, for roots handed to code that may run from
// another directory (the platform's environment, a daemon's state).
#pragma once

#include <string>

namespace cimp {

// `path` made absolute; as given when the working directory cannot be told.
std::string absolutePath(const std::string& path);

}  // namespace cimp
