#include "platform/sim/mapping_fault_guard.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <mutex>

namespace cimpsim {

namespace {

// Slots are read by the signal handler, so every field is a lock-free atomic; a free slot has
// a zero start.
struct GuardedMapping {
    std::atomic<uintptr_t> start{0};
    std::atomic<size_t> size{0};
    std::atomic<int> fd{-1};
};

GuardedMapping g_guarded[kMaxGuardedMappings];
std::mutex g_guardMutex;
bool g_installed = false;  // guarded by g_guardMutex
struct sigaction g_previous;

void repair(const GuardedMapping& slot) {
    const size_t size = slot.size.load(std::memory_order_relaxed);
    if (growBack(slot.fd.load(std::memory_order_relaxed), size)) {
        return;
    }
    // The pages cannot come back (an I/O error, a full disk): keep the writer alive in memory.
    mmap(reinterpret_cast<void*>(slot.start.load(std::memory_order_acquire)), size,
         PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
}

void passOn(int signal, siginfo_t* info, void* context) {
    if ((g_previous.sa_flags & SA_SIGINFO) != 0 && g_previous.sa_sigaction != nullptr) {
        g_previous.sa_sigaction(signal, info, context);
        return;
    }
    if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signal);
        return;
    }
    // The default action: delivered as soon as this handler returns.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigaction(SIGBUS, &fallback, nullptr);
    raise(SIGBUS);
}

void onBusFault(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<uintptr_t>(info->si_addr);
    for (const GuardedMapping& slot : g_guarded) {
        const uintptr_t start = slot.start.load(std::memory_order_acquire);
        if (start != 0 && address >= start &&
            address - start < slot.size.load(std::memory_order_relaxed)) {
            repair(slot);
            return;
        }
    }
    passOn(signal, info, context);
}

bool installHandler() {
    // The previous action is recorded before ours can run and need it.
    if (sigaction(SIGBUS, nullptr, &g_previous) != 0) {
        return false;
    }
    struct sigaction action {};
    action.sa_sigaction = onBusFault;
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGBUS, &action, nullptr) == 0;
}

}  // namespace

bool growBack(int fd, size_t size) {
    struct stat info {};
    return fstat(fd, &info) == 0 && static_cast<size_t>(info.st_size) < size &&
           ftruncate(fd, static_cast<off_t>(size)) == 0;
}

bool guardMapping(uint8_t* data, size_t size, int fd) {
    std::lock_guard<std::mutex> lock(g_guardMutex);
    if (!g_installed) {
        g_installed = installHandler();
    }
    if (!g_installed) {
        return false;
    }
    for (GuardedMapping& slot : g_guarded) {
        if (slot.start.load(std::memory_order_relaxed) == 0) {
            slot.size.store(size, std::memory_order_relaxed);
            slot.fd.store(fd, std::memory_order_relaxed);
            slot.start.store(reinterpret_cast<uintptr_t>(data), std::memory_order_release);
            return true;
        }
    }
    return false;
}

void unguardMapping(uint8_t* data) {
    std::lock_guard<std::mutex> lock(g_guardMutex);
    for (GuardedMapping& slot : g_guarded) {
        if (slot.start.load(std::memory_order_relaxed) == reinterpret_cast<uintptr_t>(data)) {
            slot.start.store(0, std::memory_order_release);
        }
    }
}

}  // namespace cimpsim
