// SharedLibrary: an owned dlopen handle, closed when the owner goes. Move-only. Opening and
// symbol lookup report dlerror's text instead of failing silently. Thread-safe as dlopen is.
#pragma once

#include <string>

namespace cimhost {

class SharedLibrary {
  public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Loads `file` (a path, or a bare name the system loader searches) with every symbol bound
    // now, so a library with unresolved symbols fails here and not in the middle of a request.
    // On failure the result is empty and `error` says why.
    static SharedLibrary open(const std::string& file, std::string& error);

    // The address of `name`, or null with `error` set.
    void* symbol(const std::string& name, std::string& error) const;

    bool isOpen() const { return handle_ != nullptr; }
    const std::string& file() const { return file_; }

  private:
    void* handle_ = nullptr;
    std::string file_;
};

}  // namespace cimhost
