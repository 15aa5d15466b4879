// The daemon's password file: one "user:hash" line per account, hashes from crypt() (see
// password_hash.h). Blank lines and lines starting with '#' are skipped. Read once at start-up;
// rewritten whole (a new file renamed over the old, mode 0600, comments dropped) when a password
// is set.
#pragma once

#include <map>
#include <string>

#include "base/outcome.h"

namespace cimhost {

using PasswordFile = std::map<std::string, std::string>;  // user -> hash

// Failed, naming the line, when a line is no "user:hash" or the file cannot be read or is
// larger than a password file has any reason to be.
cimp::Outcome loadPasswordFile(const std::string& path, PasswordFile* accounts);

// Adds `user` or changes its password; a missing file is created.
cimp::Outcome setPassword(const std::string& path, const std::string& user,
                          const std::string& password);

}  // namespace cimhost
