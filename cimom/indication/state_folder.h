// StateFolder: the daemon's folder for state that outlives it (indication filters, listener
// destinations, subscriptions), one file <name>.mof per kind, as MOF instance declarations a
// person can read. A save replaces the file atomically (a temporary file in the same folder,
// fsync, rename, fsync of the folder), so a crash leaves the old file or the new one, never a
// mix; a leftover temporary file is never read. Files are made 0600 (they name listener URLs),
// the folder 0700 when it is missing. A load reads at most kMaxStateFileBytes, instance
// declarations only, no includes; a damaged file is set aside as <name>.mof.damaged-<UTC time>
// and answered as failed with its place and new name, the instances left empty, so the daemon
// logs it and starts without them. An empty dir persists nothing. The dir must be absolute
// (main.cpp makes option paths absolute), names [A-Za-z0-9_-] only. Thread-safe for different
// names; the caller serializes saves of one name.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "cimom/mof/document.h"

namespace cimhost {

class StateFolder {
  public:
    static constexpr std::size_t kMaxStateFileBytes = 4u << 20;

    explicit StateFolder(std::string dir);  // empty: nothing persists

    bool persistent() const;
    const std::string& dir() const;

    cimp::Outcome save(const std::string& name,
                       const std::vector<cimmof::InstanceDecl>& instances) const;
    cimp::Outcome load(const std::string& name, std::vector<cimmof::InstanceDecl>* out) const;

  private:
    cimp::Outcome checkPlace(const std::string& name) const;
    std::string pathOf(const std::string& name) const;
    cimp::Outcome setAside(const std::string& path, const cimp::Outcome& fault) const;

    std::string dir_;
};

}  // namespace cimhost
