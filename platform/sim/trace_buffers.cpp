#include "platform/sim/trace_buffers.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "platform/sim/env.h"
#include "platform/sim/platform_root.h"
#include "platform/sim/trace_ring_format.h"

namespace cimpsim {

namespace {

// Longer names are kept in memory only, as are names that are not plain file names.
constexpr size_t kMaxFileName = 64;

struct TraceBuffer {
    std::string name;
    std::unique_ptr<SharedMapping> mapping;
    std::unique_ptr<TraceRing> ring;
};

std::mutex g_openMutex;
std::atomic<TraceBuffer*> g_buffers[kMaxTraceBuffers];
size_t g_bufferCount = 0;  // guarded by g_openMutex

bool isPlainFileName(const std::string& name) {
    if (name.empty() || name.size() > kMaxFileName || name[0] == '.') {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-' || c == '.';
    });
}

size_t clampedSize(size_t size) {
    size = std::min(std::max(size, ring::kMinBufferSize), ring::kMaxBufferSize);
    return size / ring::kAlign * ring::kAlign;
}

// A ring without a usable file lives in an unnamed memory file: private to this process, yet named
// "cimp-trace:<name>" in /proc/<pid>/maps, where a reader finds it as it finds a file-backed ring.
std::unique_ptr<SharedMapping> memoryMapping(const std::string& name, size_t size) {
    // The kernel takes at most 249 bytes of a name.
    const std::string label = ("cimp-trace:" + name).substr(0, 249);
    Fd file = Fd::fromResult(memfd_create(label.c_str(), MFD_CLOEXEC));
    if (!file.valid() || ftruncate(file.get(), static_cast<off_t>(size)) != 0) {
        return nullptr;
    }
    std::unique_ptr<SharedMapping> mapping = SharedMapping::map(std::move(file), size);
    if (mapping != nullptr) {
        TraceRing::prepare(mapping->data(), size, name);
    }
    return mapping;
}

// Null when neither the file nor memory can hold the ring.
std::unique_ptr<TraceBuffer> makeBuffer(const std::string& name, size_t size) {
    auto buffer = std::make_unique<TraceBuffer>();
    buffer->name = name;
    if (isPlainFileName(name)) {
        const Env& env = currentEnv();
        buffer->mapping = platformDirectory(env, true)->mapShared(
            "trace/" + name, size,
            [&name](uint8_t* data, size_t bytes) { TraceRing::prepare(data, bytes, name); });
    }
    if (buffer->mapping == nullptr) {
        buffer->mapping = memoryMapping(name, size);
    }
    if (buffer->mapping == nullptr) {
        return nullptr;
    }
    SharedMapping* mapping = buffer->mapping.get();
    buffer->ring =
        std::make_unique<TraceRing>(mapping->data(), size, [mapping] { mapping->restoreSize(); });
    return buffer;
}

}  // namespace

bool openTraceBuffer(const char* name, size_t size, uint32_t& descriptor) {
    if (name == nullptr) {
        return false;
    }
    std::string wanted(name, strnlen(name, 256));
    std::lock_guard<std::mutex> lock(g_openMutex);
    for (size_t i = 0; i < g_bufferCount; ++i) {
        if (g_buffers[i].load(std::memory_order_relaxed)->name == wanted) {
            descriptor = static_cast<uint32_t>(i);
            return true;
        }
    }
    if (g_bufferCount == kMaxTraceBuffers) {
        return false;
    }
    std::unique_ptr<TraceBuffer> buffer = makeBuffer(wanted, clampedSize(size));
    if (buffer == nullptr) {
        return false;
    }
    // Released on purpose: the buffer must outlive every static destructor that may trace.
    g_buffers[g_bufferCount].store(buffer.release(), std::memory_order_release);
    descriptor = static_cast<uint32_t>(g_bufferCount++);
    return true;
}

TraceRing* findTraceBuffer(uint32_t descriptor) {
    if (descriptor >= kMaxTraceBuffers) {
        return nullptr;
    }
    TraceBuffer* buffer = g_buffers[descriptor].load(std::memory_order_acquire);
    return buffer != nullptr ? buffer->ring.get() : nullptr;
}

}  // namespace cimpsim
