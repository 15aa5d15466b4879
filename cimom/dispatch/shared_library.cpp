#include "cimom/dispatch/shared_library.h"

#include <dlfcn.h>

#include <utility>

namespace cimhost {

SharedLibrary::~SharedLibrary() {
    if (handle_ != nullptr) {
        dlclose(handle_);
    }
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), file_(std::move(other.file_)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
    if (this != &other) {
        if (handle_ != nullptr) {
            dlclose(handle_);
        }
        handle_ = std::exchange(other.handle_, nullptr);
        file_ = std::move(other.file_);
    }
    return *this;
}

SharedLibrary SharedLibrary::open(const std::string& file, std::string& error) {
    SharedLibrary library;
    library.handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library.handle_ == nullptr) {
        const char* why = dlerror();
        error = why != nullptr ? why : "dlopen failed";
        return library;
    }
    library.file_ = file;
    return library;
}

void* SharedLibrary::symbol(const std::string& name, std::string& error) const {
    if (handle_ == nullptr) {
        error = "library not open";
        return nullptr;
    }
    dlerror();
    void* address = dlsym(handle_, name.c_str());
    if (address == nullptr) {
        const char* why = dlerror();
        error = why != nullptr ? why : "symbol " + name + " is null";
    }
    return address;
}

}  // namespace cimhost
