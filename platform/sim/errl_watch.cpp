// The error-log watch of the simulated platform: the log file followed by ErrlLogFollower, woken by
// the kernel's change notices for <root>/errl (and for the entry "errl" of the root, so that a
// folder made or replaced later is watched too), and by an eventfd for wake().
#include "platform/errl_watch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <new>

#include "platform/sim/change_watch.h"
#include "platform/sim/env.h"
#include "platform/sim/errl_log_follower.h"
#include "platform/sim/fd.h"
#include "platform/sim/platform_root.h"

namespace {

// While the folders cannot be watched (no root yet, or no change queue), the log is looked at
// this often.
constexpr int kUnwatchedRetryMs = 1000;

using Clock = std::chrono::steady_clock;

}  // namespace

struct ErrlWatch::State {
    explicit State(const cimpsim::Env& env)
        : root(cimpsim::platformRoot(env)),
          log(root + "/errl/log", env.nowNanos()),
          wakeup(cimpsim::Fd::fromResult(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))) {}

    // Watches the root's entry "errl" and the folder itself; true when a change to the log can
    // no longer go unreported.
    bool arm() {
        if (!changes.valid() || changes.watchEntry(root, "errl") != 0) {
            return false;
        }
        const int folder = changes.watchFolder(root + "/errl");
        return folder == 0 || folder == ENOENT || folder == ENOTDIR;
    }

    // Whether wake() was called since the last time this answered true.
    bool takeWakeup() {
        eventfd_t count = 0;
        if (wakeup.valid()) {
            eventfd_read(wakeup.get(), &count);  // empty (EAGAIN) when no wake() came
        }
        return woken.exchange(false);
    }

    // Blocks until a notice, a wake-up or `timeoutMs` (negative: no limit). Without a change queue
    // or a wake-up descriptor it looks again after kUnwatchedRetryMs.
    void block(int timeoutMs) {
        if (!armed || !wakeup.valid()) {
            timeoutMs = timeoutMs < 0 ? kUnwatchedRetryMs : std::min(timeoutMs, kUnwatchedRetryMs);
        }
        pollfd waits[2] = {{changes.descriptor(), POLLIN, 0}, {wakeup.get(), POLLIN, 0}};
        poll(waits, 2, timeoutMs);
    }

    const std::string root;
    cimpsim::ChangeWatch changes;
    cimpsim::ErrlLogFollower log;
    const cimpsim::Fd wakeup;
    std::atomic<bool> woken{false};
    bool armed = false;
};

ErrlWatch::ErrlWatch() : state_(std::make_unique<State>(cimpsim::currentEnv())) {
    state_->armed = state_->arm();
}

ErrlWatch::~ErrlWatch() = default;

// Out of memory, the entries taken so far are told (the rest stay for the next call).
ErrlWatch::Wait ErrlWatch::next(std::vector<ErrlCommittedEntry>& entries, int timeoutMs) {
    entries.clear();
    try {
        return waitForEntries(entries, timeoutMs);
    } catch (const std::bad_alloc&) {
        return entries.empty() ? Wait::TimedOut : Wait::Entries;
    }
}

ErrlWatch::Wait ErrlWatch::waitForEntries(std::vector<ErrlCommittedEntry>& entries, int timeoutMs) {
    State& state = *state_;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (state.takeWakeup()) {
            return Wait::Woken;
        }
        // Notices drained before the read: a change after it queues a notice that ends the wait.
        if (state.changes.drain() == cimpsim::Change::Path || !state.armed) {
            state.armed = state.arm();
        }
        state.log.readNew(entries, kMaxBatch);
        if (!entries.empty()) {
            return Wait::Entries;
        }
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) {
                return Wait::TimedOut;
            }
            wait = static_cast<int>(std::min<int64_t>(left, INT32_MAX));
        }
        state.block(wait);
    }
}

void ErrlWatch::wake() {
    state_->woken.store(true);
    if (state_->wakeup.valid()) {
        eventfd_write(state_->wakeup.get(), 1);  // fails only when the count would overflow
    }
}
