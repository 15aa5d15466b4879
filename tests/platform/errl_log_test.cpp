// Committing error-log entries: the log line, its sequence, and concurrency.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/errl_entry.h"
#include "platform/sim/errl_log.h"
#include "platform/util_reg.h"
#include "tests/platform/log_fields.h"
#include "tests/support/platform_fixture.h"

namespace {

std::unique_ptr<ErrlEntry> failedRead(const char* key) {
    char buffer[4];
    unsigned int size = sizeof buffer;
    return std::unique_ptr<ErrlEntry>(UtilReg::read(key, buffer, size, false, nullptr));
}

class ErrorLog : public cimptest::PlatformFixture {};

// Each line carries the next number; a hostile key is escaped.
TEST_F(ErrorLog, CommitAppendsOneNumberedDescriptiveLine) {
    failedRead("svpd/Raw_MachineSerialNumber")->commit(0xd400, 0x2000);
    failedRead("a/b c\n")->commit(3, 4);
    const std::string pid = " pid=" + std::to_string(getpid());
    std::vector<std::string> lines;
    for (const std::string& line : errlLines()) {
        lines.push_back(cimptest::maskTimes(line));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "1 <time> rc=0x51A00001 0xD400,0x2000 UtilReg::read "
                         "svpd/Raw_MachineSerialNumber created=<time>" +
                             pid,
                         "2 <time> rc=0x51A00003 0x0003,0x0004 UtilReg::read a/b\\x20c\\x0A "
                         "created=<time>" +
                             pid}));
}

// The next entry takes the number after the last numbered line, a line cut short keeping its
// number, and starts on a line of its own.
TEST_F(ErrorLog, NextEntryIsNumberedAfterTheLastNumberedLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "1"},           {"7 2026 rc=1\n", "8"}, {"7 x\n12 y\n", "13"},
        {"7 x\n12 y", "13"}, {"7 x\n12", "8"},       {"7 x\ny", "8"},
        {"x y\n", "1"},      {"12\n", "1"},          {"99999999999999999999999 y\n", "1"}};
    ASSERT_EQ(mkdir((root() + "/errl").c_str(), 0755), 0);
    for (const auto& [tail, next] : cases) {
        std::ofstream(errlLogFile(), std::ios::trunc) << tail;
        failedRead("a/b")->commit(0xd400, 0x2000);
        const std::vector<std::string> lines = errlLines();
        const size_t tailLines = std::count(tail.begin(), tail.end(), '\n') +
                                 (tail.empty() || tail.back() == '\n' ? 0 : 1);
        ASSERT_EQ(lines.size(), tailLines + 1) << tail;
        EXPECT_EQ(lines.back().substr(0, lines.back().find(' ')), next) << tail;
    }
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
        // The key "thread<t>/n<i>" was committed with the values (t, i).
        const std::optional<cimpsim::ErrlLine> line = cimpsim::parseErrlLine(lines[i]);
        ASSERT_TRUE(line) << lines[i];
        int thread = -1;
        int n = -1;
        ASSERT_EQ(std::sscanf(line->key.c_str(), "thread%d/n%d", &thread, &n), 2) << lines[i];
        char values[16];
        std::snprintf(values, sizeof values, "0x%04X,0x%04X", thread, n);
        EXPECT_EQ(line->sequence + " " + line->values, std::to_string(i + 1) + " " + values);
        seen.insert(line->key);
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

}  // namespace
