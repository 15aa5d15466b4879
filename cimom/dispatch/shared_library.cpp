#include "cimom/dispatch/shared_library.h"

#include <dlfcn.h>

namespace cimhost {

cimp::Outcome SharedLibrary::open(const std::string& file, SharedLibrary* out) {
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        return cimp::Outcome::failed("cannot load library " + file,
                                     why != nullptr ? why : "dlopen failed");
    }
    out->handle_ = {handle, &dlclose};
    return cimp::Outcome::success();
}

cimp::Outcome SharedLibrary::symbol(const std::string& name, void** address) const {
    dlerror();
    *address = dlsym(handle_.get(), name.c_str());
    if (*address == nullptr) {
        const char* why = dlerror();
        return cimp::Outcome::failed(name, why != nullptr ? why : "symbol " + name + " is null");
    }
    return cimp::Outcome::success();
}

}  // namespace cimhost
