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
    : handle_(std::exchange(other.handle_, nullptr)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
    if (this != &other) {
        if (handle_ != nullptr) {
            dlclose(handle_);
        }
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

cimp::Outcome SharedLibrary::open(const std::string& file, SharedLibrary* out) {
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        return cimp::Outcome::failed("cannot load library " + file,
                                     why != nullptr ? why : "dlopen failed");
    }
    *out = SharedLibrary();
    out->handle_ = handle;
    return cimp::Outcome::success();
}

cimp::Outcome SharedLibrary::symbol(const std::string& name, void** address) const {
    dlerror();
    *address = dlsym(handle_, name.c_str());
    if (*address == nullptr) {
        const char* why = dlerror();
        return cimp::Outcome::failed(name, why != nullptr ? why : "symbol " + name + " is null");
    }
    return cimp::Outcome::success();
}

}  // namespace cimhost
