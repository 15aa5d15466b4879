#include "tests/support/failing_new.h"

#include <cstdlib>
#include <new>

namespace {

thread_local long g_failAt = 0;
thread_local long g_made = 0;
thread_local bool g_failLater = false;

}  // namespace

namespace cimptest {

void failAllocation(long failAt, bool andEveryLater) {
    g_made = 0;
    g_failAt = failAt;
    g_failLater = andEveryLater;
}

long allocationsMade() {
    return g_made;
}

}  // namespace cimptest

void* operator new(std::size_t size) {
    ++g_made;
    if (g_failAt != 0 && (g_made == g_failAt || (g_failLater && g_made > g_failAt))) {
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size != 0 ? size : 1)) {
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

// The platform allocates its out-of-memory entry with nothrow new: it must come from (and fail
// like) the operator above, or a sanitizer's own allocator hands out what ours frees.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
