// Platform error-log watch service (closed on the service processor; simulated in platform/sim).
//
// A watch tells of the entries committed to the platform error log after the entry that was the
// newest when the watch began, each once and in the order they were committed, and waits for new
// ones without polling. A log that starts over (cleared, rotated, replaced) is followed: what it
// already held when the watch last looked is not told again, what is new is told.
//
// Resources: a watch holds what it needs to wait (on the simulated platform, a change queue and a
// wake-up descriptor) from construction to destruction, and nothing of the service is held while
// no watch exists. One thread waits on a watch at a time; wake() may be called from any thread.
#ifndef CIMP_PLATFORM_ERRL_WATCH_H
#define CIMP_PLATFORM_ERRL_WATCH_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One committed entry, as the log holds it.
struct ErrlCommittedEntry {
    uint64_t number;          // the log's number for it: counts up from 1, again after a restart
    uint64_t committedNanos;  // when it was committed, nanoseconds since 1970-01-01 UTC
    uint32_t rc;              // the failing call's return code (ErrlEntry::getRC)
    uint16_t words[2];        // the two values passed to ErrlEntry::commit, in their order
    std::string call;         // the platform call that failed ("UtilReg::read"); empty if unknown
    std::string key;          // what the call was asked for, as the log shows it; empty if unknown
    int64_t pid;              // the committing process
};

class ErrlWatch {
  public:
    // Entries one next() hands out at most.
    static constexpr size_t kMaxBatch = 64;

    enum class Wait {
        Entries,   // `entries` holds the next ones
        TimedOut,  // nothing new within the time allowed
        Woken,     // wake() was called since the last next() that reported Woken
    };

    // Begins watching; entries committed from now on are told.
    ErrlWatch();
    ~ErrlWatch();
    ErrlWatch(const ErrlWatch&) = delete;
    ErrlWatch& operator=(const ErrlWatch&) = delete;

    // Replaces `entries` with the entries committed since the last ones told, at most kMaxBatch,
    // waiting up to `timeoutMs` milliseconds (negative: no limit) for one to arrive. A pending
    // wake() is reported before entries. Lets no exception out: out of memory it tells what it
    // read so far, or answers TimedOut, and the rest comes with a later call.
    Wait next(std::vector<ErrlCommittedEntry>& entries, int timeoutMs);

    // Makes the current or the next call of next() return Woken at once.
    void wake();

    struct State;

  private:
    Wait waitForEntries(std::vector<ErrlCommittedEntry>& entries, int timeoutMs);

    std::unique_ptr<State> state_;
};

#endif
