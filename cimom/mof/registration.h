// Provider registrations for the embedded host: which provider library serves which class in
// which namespace, and through which MI types. The file is line-oriented UTF-8 text:
//
//   # comment                       blank lines and lines starting with '#' are ignored
//   provider:  <provider name>      starts a record; names the factory symbols
//   library:   <library name>       loaded as lib<library name>.so from the provider directory
//   class:     <class name>
//   namespace: <namespace>          segments of letters, digits and '_' joined by '/'
//   types:     instance association indication  one or more, separated by blanks
//
// Every record gives each of the five keys once. A class may be registered once per namespace.
// Failed with the file, line and column of the fault. Pure functions; thread-safe.
//
// loadRegistrations reads one file, or every *.registration file of a folder in name order (the
// shipped schema folder holds one per provider).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/outcome.h"

namespace cimmof {

constexpr std::size_t kMaxRegistrationFileBytes = 1u << 20;
constexpr std::size_t kMaxRegistrationLineBytes = 4096;
constexpr std::size_t kMaxRegistrationFiles = 64;  // in one folder

struct ProviderRegistration {
    std::string providerName;
    std::string library;
    std::string className;
    std::string nameSpace;
    bool instance = false;
    bool association = false;
    bool indication = false;
    std::string file;
    int line = 0;  // the record's "provider:" line
};

cimp::Outcome loadRegistrations(const std::string& path, std::vector<ProviderRegistration>* out);
cimp::Outcome parseRegistrations(const std::string& text, const std::string& fileName,
                                 std::vector<ProviderRegistration>* out);

}  // namespace cimmof
