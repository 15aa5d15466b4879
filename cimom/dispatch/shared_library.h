// SharedLibrary: an owned dlopen handle, closed when the owner goes. Move-only. Opening and
// symbol lookup report dlerror's text instead of failing silently. Thread-safe as dlopen is.
#pragma once

#include <memory>
#include <string>

#include "base/outcome.h"

namespace cimhost {

class SharedLibrary {
  public:
    // Loads `file` (a path, or a bare name the system loader searches) with every symbol bound
    // now, so a library with unresolved symbols fails here and not in the middle of a request.
    // Failed with dlerror's text, "cannot load library FILE: why".
    static cimp::Outcome open(const std::string& file, SharedLibrary* out);

    // The non-null address of `name`; failed with dlerror's text.
    cimp::Outcome symbol(const std::string& name, void** address) const;

  private:
    std::unique_ptr<void, int (*)(void*)> handle_{nullptr, nullptr};  // closed with dlclose
};

}  // namespace cimhost
