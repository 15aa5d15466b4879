// Password hashes as the system's crypt() makes them: new ones with yescrypt, and any the
// library checks (yescrypt "$y$", SHA-512-crypt "$6$", ...) accepted in a password file.
#pragma once

#include <string>

#include "base/outcome.h"

namespace cimhost {

// A fresh yescrypt hash of `password` with a random salt.
cimp::Outcome hashPassword(const std::string& password, std::string* hash);

// Whether `password` hashes to `hash`; the comparison takes the same time wherever the two
// differ. False for a hash the library does not know.
bool passwordMatches(const std::string& password, const std::string& hash);

// Whether a and b are equal, in a time that depends on b's length only.
bool equalInConstantTime(const std::string& a, const std::string& b);

// A hash that matches no password, to spend the same time on unknown users as on known ones.
const std::string& unmatchableHash();

}  // namespace cimhost
