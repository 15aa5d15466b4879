// The POSIX Env. The platform root is kept open between calls, with its small files read from
// memory for as long as the kernel reports no change (watched_directory.h): a steady platform
// costs one system call per call.
#include <sys/mman.h>

#include <chrono>
#include <cstdlib>
#include <new>
#include <utility>

#include "platform/sim/env.h"
#include "platform/sim/mapping_fault_guard.h"
#include "platform/sim/watched_directory.h"

namespace cimpsim {

namespace {

class PosixEnv : public Env {
  public:
    std::optional<std::string> variable(const char* name) const override {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }

    uint64_t nowNanos() const override {
        const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
        return static_cast<uint64_t>(
            std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch).count());
    }

    std::shared_ptr<const Directory> directory(const std::string& path,
                                               bool create) const override {
        return WatchedDirectory::kept(path, create);
    }
};

}  // namespace

SharedMapping::SharedMapping(uint8_t* data, size_t size, Fd file)
    : data_(data), size_(size), file_(std::move(file)) {}

void SharedMapping::restoreSize() const {
    growBack(file_.get(), size_);
}

std::unique_ptr<SharedMapping> SharedMapping::map(Fd file, size_t size) {
    void* data = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, file.get(), 0);
    if (data == MAP_FAILED) {
        return nullptr;
    }
    // The mapping must not leak when there is no memory for its owner.
    std::unique_ptr<SharedMapping> mapping(
        new (std::nothrow) SharedMapping(static_cast<uint8_t*>(data), size, std::move(file)));
    if (mapping == nullptr) {
        munmap(data, size);
    }
    return mapping;
}

SharedMapping::~SharedMapping() {
    unguardMapping(data_);
    munmap(data_, size_);
}

Env& systemEnv() {
    // Never destroyed: libraries may still trace or log from their static destructors.
    static PosixEnv* env = new PosixEnv;
    return *env;
}

}  // namespace cimpsim
