// Committing error-log entries: the log line, its sequence, capture events, and concurrency.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/errl_entry.h"
#include "platform/sim/errl_log.h"
#include "platform/sim/sim_capture.h"
#include "platform/sim/sim_errl_entry.h"
#include "platform/sim/sim_return_codes.h"
#include "platform/util_reg.h"
#include "tests/platform/log_fields.h"
#include "tests/support/platform_fixture.h"

namespace {

std::unique_ptr<ErrlEntry> failedRead(const char* key) {
    char buffer[4];
    unsigned int size = sizeof buffer;
    return std::unique_ptr<ErrlEntry>(UtilReg::read(key, buffer, size, false, nullptr));
}

// An entry made outside the simulated platform, as a test double would be.
class ForeignEntry : public ErrlEntry {
  public:
    explicit ForeignEntry(uint32_t rc) : ErrlEntry(rc) {}
};

class ErrorLog : public cimptest::PlatformFixture {};

TEST_F(ErrorLog, CommitAppendsOneDescriptiveLine) {
    std::unique_ptr<ErrlEntry> entry = failedRead("svpd/Raw_MachineSerialNumber");
    ASSERT_NE(entry, nullptr);
    entry->commit(0xd400, 0x2000);
    std::vector<std::string> lines = errlLines();
    ASSERT_EQ(lines.size(), 1u);
    std::vector<std::string> fields = cimptest::fieldsOf(lines[0]);
    ASSERT_EQ(fields.size(), 8u) << lines[0];
    EXPECT_EQ(fields[0], "1");
    EXPECT_TRUE(cimptest::isUtcTime(fields[1])) << fields[1];
    EXPECT_EQ(fields[2], "rc=0x51A00001");
    EXPECT_EQ(fields[3], "0xD400,0x2000");
    EXPECT_EQ(fields[4], "UtilReg::read");
    EXPECT_EQ(fields[5], "svpd/Raw_MachineSerialNumber");
    EXPECT_EQ(fields[6].substr(0, 8), "created=");
    EXPECT_TRUE(cimptest::isUtcTime(fields[6].substr(8))) << fields[6];
    EXPECT_EQ(fields[7], "pid=" + std::to_string(getpid()));
}

TEST_F(ErrorLog, SequenceContinuesFromTheLogsLastLine) {
    failedRead("a/b")->commit(1, 2);
    failedRead("a/c")->commit(3, 4);
    ForeignEntry(0x1234).commit(0xFFFF, 0);
    std::vector<std::string> lines = errlLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].substr(0, 2), "2 ");
    EXPECT_NE(lines[1].find("rc=0x51A00001 0x0003,0x0004 UtilReg::read a/c "), std::string::npos);
    EXPECT_EQ(lines[2].substr(0, 2), "3 ");
    EXPECT_NE(lines[2].find("rc=0x00001234 0xFFFF,0x0000 unknown - created=- pid="),
              std::string::npos);
}

TEST_F(ErrorLog, HostileKeyIsEscapedInTheLog) {
    failedRead("a/b c\n")->commit(1, 1);
    std::vector<std::string> lines = errlLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("rc=0x51A00003 0x0001,0x0001 UtilReg::read a/b\\x20c\\x0A created="),
              std::string::npos)
        << lines[0];
}

TEST_F(ErrorLog, UnwritableLogIsSkippedSilently) {
    ASSERT_EQ(mkdir((root() + "/errl").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(errlLogFile().c_str(), 0755), 0);  // a directory where the log should be
    cimpsim::Capture capture;
    std::unique_ptr<ErrlEntry> entry = failedRead("a/b");
    entry->commit(0xd400, 0x2000);
    ASSERT_EQ(capture.errl().size(), 2u);
    EXPECT_EQ(capture.errl()[1].kind, cimpsim::ErrlEvent::Kind::Committed);
}

TEST_F(ErrorLog, CaptureSeesCreateCommitDeleteInOrder) {
    cimpsim::Capture capture;
    const ErrlEntry* address = nullptr;
    {
        std::unique_ptr<ErrlEntry> entry = failedRead("fstp/SystemName");
        address = entry.get();
        entry->commit(0xd400, 0x2000);
    }
    std::vector<cimpsim::ErrlEvent> events = capture.errl();
    ASSERT_EQ(events.size(), 3u);
    using Kind = cimpsim::ErrlEvent::Kind;
    EXPECT_EQ(events[0].kind, Kind::Created);
    EXPECT_EQ(events[1].kind, Kind::Committed);
    EXPECT_EQ(events[1].first, 0xd400);
    EXPECT_EQ(events[1].second, 0x2000);
    EXPECT_EQ(events[1].origin, "UtilReg::read fstp/SystemName");
    EXPECT_EQ(events[2].kind, Kind::Deleted);
    for (const cimpsim::ErrlEvent& event : events) {
        EXPECT_EQ(event.entry, address);
        EXPECT_EQ(event.rc, cimpsim::kRcMissing);
    }
    capture.clear();
    EXPECT_TRUE(capture.errl().empty());
}

TEST_F(ErrorLog, ConcurrentCommitsNeverInterleaveAndNumberEveryLine) {
    constexpr int kThreads = 6;
    constexpr int kCommitsEach = 40;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kCommitsEach; ++i) {
                std::string key = "thread" + std::to_string(t) + "/n" + std::to_string(i);
                failedRead(key.c_str())
                    ->commit(static_cast<unsigned short>(t), static_cast<unsigned short>(i));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    std::vector<std::string> lines = errlLines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kCommitsEach));
    std::set<std::string> seen;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::vector<std::string> fields = cimptest::fieldsOf(lines[i]);
        ASSERT_EQ(fields.size(), 8u) << lines[i];
        EXPECT_EQ(fields[0], std::to_string(i + 1));
        EXPECT_TRUE(cimptest::isUtcTime(fields[1])) << lines[i];
        // The key "thread<t>/n<i>" was committed with the values (t, i).
        int thread = -1;
        int n = -1;
        ASSERT_EQ(std::sscanf(fields[5].c_str(), "thread%d/n%d", &thread, &n), 2) << lines[i];
        char values[32];
        std::snprintf(values, sizeof values, "0x%04X,0x%04X", thread, n);
        EXPECT_EQ(fields[3], values) << lines[i];
        seen.insert(fields[5]);
    }
    EXPECT_EQ(seen.size(), lines.size());
}

TEST_F(ErrorLog, ProcessesShareOneSequence) {
    constexpr int kChildren = 3;
    constexpr int kCommitsEach = 20;
    std::vector<pid_t> children;
    for (int c = 0; c < kChildren; ++c) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int i = 0; i < kCommitsEach; ++i) {
                failedRead("child/x")->commit(0xd400, 0x2000);
            }
            _exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
    }
    std::vector<std::string> lines = errlLines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(kChildren * kCommitsEach));
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].substr(0, lines[i].find(' ')), std::to_string(i + 1)) << lines[i];
    }
}

TEST(ErrlLogLine, LastSequenceReadsOnlyACompleteLastLine) {
    struct Case {
        const char* tail;
        uint64_t sequence;
    };
    const Case cases[] = {
        {"", 0},          {"7 2026 rc=1\n", 7}, {"7 x\n12 y\n", 12},
        {"7 x\n12 y", 0},  // a line without its newline was cut
        {"x y\n", 0},     {"12\n", 0},          {"99999999999999999999999 y\n", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cimpsim::lastSequence(c.tail), c.sequence) << c.tail;
    }
}

}  // namespace
