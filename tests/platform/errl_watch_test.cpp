// The error-log watch: entries committed after it began, each once, woken without polling, and a
// log that is cut short, truncated, rewritten or replaced.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/errl_entry.h"
#include "platform/errl_watch.h"
#include "platform/sim/sim_errl_entry.h"
#include "tests/support/platform_fixture.h"

namespace {

using Entries = std::vector<ErrlCommittedEntry>;

// Commits one entry as a failing read of `key` commits it.
void commitReadFailure(const char* key, uint32_t rc = 0x51A00001) {
    std::unique_ptr<ErrlEntry>(new cimpsim::SimErrlEntry(rc, "UtilReg::read", key))
        ->commit(0xd400, 0x2000);
}

std::vector<uint64_t> numbersOf(const Entries& entries) {
    std::vector<uint64_t> numbers;
    for (const ErrlCommittedEntry& entry : entries) {
        numbers.push_back(entry.number);
    }
    return numbers;
}

std::vector<std::string> keysOf(const Entries& entries) {
    std::vector<std::string> keys;
    for (const ErrlCommittedEntry& entry : entries) {
        keys.push_back(entry.key);
    }
    return keys;
}

// Everything the watch has now, without waiting.
Entries drained(ErrlWatch& watch) {
    Entries all;
    Entries batch;
    while (watch.next(batch, 0) == ErrlWatch::Wait::Entries) {
        all.insert(all.end(), batch.begin(), batch.end());
    }
    return all;
}

// The listing's own descriptor counts each time alike.
std::ptrdiff_t openDescriptors() {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                         std::filesystem::directory_iterator());
}

void appendRaw(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

class ErrlWatchTest : public cimptest::PlatformFixture {};

TEST_F(ErrlWatchTest, TellsEachEntryCommittedAfterItBeganWithItsFields) {
    commitReadFailure("before/start");
    ErrlWatch watch;
    const uint64_t before = static_cast<uint64_t>(time(nullptr) - 1) * 1000000000u;
    commitReadFailure("svpd/Raw_MachineSerialNumber", 0x1234);
    std::unique_ptr<ErrlEntry>(new cimpsim::SimErrlEntry(7, "rmgrIsRedPolicyEnabled", "rmgr/policy"))
        ->commit(0, 0xFFFF);

    const Entries entries = drained(watch);
    ASSERT_EQ(numbersOf(entries), (std::vector<uint64_t>{2, 3}));
    const ErrlCommittedEntry& first = entries[0];
    EXPECT_EQ(first.rc, 0x1234u);
    EXPECT_EQ(first.words[0], 0xd400);
    EXPECT_EQ(first.words[1], 0x2000);
    EXPECT_EQ(first.call, "UtilReg::read");
    EXPECT_EQ(first.key, "svpd/Raw_MachineSerialNumber");
    EXPECT_EQ(first.pid, getpid());
    EXPECT_GE(first.committedNanos, before);
    EXPECT_EQ(entries[1].call, "rmgrIsRedPolicyEnabled");
    EXPECT_EQ(entries[1].words[0], 0);
    EXPECT_EQ(entries[1].words[1], 0xFFFF);
    EXPECT_TRUE(drained(watch).empty());
}

// The first commit also makes the log, which the watch follows though it began before it.
TEST_F(ErrlWatchTest, AWaitEndsWithACommitOrAWakeAndTimesOutOtherwise) {
    ErrlWatch watch;  // no errl folder yet
    Entries entries;
    EXPECT_EQ(watch.next(entries, 10), ErrlWatch::Wait::TimedOut);

    auto waiting = std::async(std::launch::async, [&] { return watch.next(entries, -1); });
    commitReadFailure("a/b");
    ASSERT_EQ(waiting.get(), ErrlWatch::Wait::Entries);
    EXPECT_EQ(keysOf(entries), (std::vector<std::string>{"a/b"}));
    EXPECT_EQ(numbersOf(entries), (std::vector<uint64_t>{1}));

    waiting = std::async(std::launch::async, [&] { return watch.next(entries, -1); });
    watch.wake();
    EXPECT_EQ(waiting.get(), ErrlWatch::Wait::Woken);

    // A wake before the call is not lost, and comes before entries; it is reported once.
    commitReadFailure("c/d");
    watch.wake();
    EXPECT_EQ(watch.next(entries, -1), ErrlWatch::Wait::Woken);
    EXPECT_EQ(watch.next(entries, -1), ErrlWatch::Wait::Entries);
    EXPECT_EQ(keysOf(entries), (std::vector<std::string>{"c/d"}));
}

TEST_F(ErrlWatchTest, BatchesAreBoundedAndKeepTheOrder) {
    ErrlWatch watch;
    for (int i = 0; i < 70; ++i) {
        commitReadFailure("a/b");
    }
    Entries entries;
    ASSERT_EQ(watch.next(entries, 0), ErrlWatch::Wait::Entries);
    EXPECT_EQ(entries.size(), ErrlWatch::kMaxBatch);
    EXPECT_EQ(entries.front().number, 1u);
    const Entries rest = drained(watch);
    ASSERT_EQ(rest.size(), 70 - ErrlWatch::kMaxBatch);
    EXPECT_EQ(rest.front().number, ErrlWatch::kMaxBatch + 1);
    EXPECT_EQ(rest.back().number, 70u);
}

TEST_F(ErrlWatchTest, ALineCutShortIsAnEntryOnlyOnceWholeAndOtherLinesArePassedOver) {
    commitReadFailure("a/b");
    ErrlWatch watch;
    const std::string line = errlLines().front();
    const std::string renumbered = "2" + line.substr(line.find(' '));
    appendRaw(errlLogFile(), renumbered.substr(0, 40));
    EXPECT_TRUE(drained(watch).empty());
    appendRaw(errlLogFile(), renumbered.substr(40) + "\nnot an entry\n" + std::string(5000, 'x') +
                                 "\n");
    EXPECT_EQ(numbersOf(drained(watch)), (std::vector<uint64_t>{2}));
    commitReadFailure("c/d");
    EXPECT_EQ(keysOf(drained(watch)), (std::vector<std::string>{"c/d"}));
}

TEST_F(ErrlWatchTest, ATruncatedLogStartsOverWithoutRepeatingOrSkipping) {
    ErrlWatch watch;
    commitReadFailure("old/one");
    commitReadFailure("old/two");
    EXPECT_EQ(drained(watch).size(), 2u);

    std::ofstream(errlLogFile(), std::ios::trunc).close();
    commitReadFailure("new/one");
    EXPECT_EQ(keysOf(drained(watch)), (std::vector<std::string>{"new/one"}));

    // Cleared and grown past where the watch had read before it looked again.
    std::ofstream(errlLogFile(), std::ios::trunc).close();
    for (const char* key : {"after/one", "after/two", "after/three"}) {
        commitReadFailure(key);
    }
    const Entries entries = drained(watch);
    EXPECT_EQ(numbersOf(entries), (std::vector<uint64_t>{1, 2, 3}));
    EXPECT_EQ(entries.front().key, "after/one");
}

TEST_F(ErrlWatchTest, AReplacedLogTellsOnlyWhatIsNewInIt) {
    ErrlWatch watch;
    commitReadFailure("told/one");
    commitReadFailure("told/two");
    EXPECT_EQ(drained(watch).size(), 2u);

    // A copy of the log with one more entry, renamed over it (an editor's save).
    commitReadFailure("new/three");
    const std::string copy = root() + "/errl/log.new";
    std::ifstream in(errlLogFile(), std::ios::binary);
    std::ofstream(copy, std::ios::binary) << in.rdbuf();
    ASSERT_EQ(std::rename(copy.c_str(), errlLogFile().c_str()), 0);
    EXPECT_EQ(keysOf(drained(watch)), (std::vector<std::string>{"new/three"}));

    // Rotated away: the new log's entries are all new, though numbered from 1 again.
    ASSERT_EQ(std::rename(errlLogFile().c_str(), (errlLogFile() + ".1").c_str()), 0);
    commitReadFailure("rotated/one");
    const Entries entries = drained(watch);
    EXPECT_EQ(keysOf(entries), (std::vector<std::string>{"rotated/one"}));
    EXPECT_EQ(numbersOf(entries), (std::vector<uint64_t>{1}));
}

TEST_F(ErrlWatchTest, HoldsDescriptorsOnlyWhileItExists) {
    commitReadFailure("a/b");
    const std::ptrdiff_t before = openDescriptors();
    {
        ErrlWatch watch;
        EXPECT_GT(openDescriptors(), before);
        commitReadFailure("c/d");
        EXPECT_EQ(drained(watch).size(), 1u);
    }
    EXPECT_EQ(openDescriptors(), before);
}

}  // namespace
