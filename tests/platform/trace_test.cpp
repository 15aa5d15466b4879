// The trace service: descriptors, argument collection, and the ring under concurrent writers.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/printer/trace_ring_reader.h"
#include "platform/sim/trace_ring_format.h"
#include "platform/trace.h"
#include "tests/support/platform_capture.h"
#include "tests/support/platform_fixture.h"

namespace {

using cimpsim::RingContents;

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

RingContents readRingFile(const std::string& path) {
    std::string bytes = fileBytes(path);
    RingContents contents;
    std::string error;
    EXPECT_TRUE(cimpsim::readTraceRing(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                       contents, error))
        << path << ": " << error;
    return contents;
}

trace_desc_t openBuffer(const char* name, size_t size = 4096) {
    trace_desc_t td = TRACE_DESC_INVALID;
    EXPECT_EQ(trace_adal_init_buffer(&td, name, size), 0);
    return td;
}

class Trace : public cimptest::PlatformFixture {};

// A name opened again keeps its descriptor and first size; writes to an unopened one are refused.
TEST_F(Trace, DescriptorsAreOnePerNameAndOnlyOpenedOnesTakeWrites) {
    trace_desc_t first = openBuffer("TraceReopen");
    EXPECT_EQ(openBuffer("TraceReopen", 8192), first);
    EXPECT_NE(openBuffer("TraceOther"), first);
    EXPECT_EQ(fileBytes(traceFile("TraceReopen")).size(), 4096u);
    EXPECT_NE(trace_adal_init_buffer(nullptr, "TraceReopen", 4096), 0);
    trace_desc_t td = 0;
    EXPECT_NE(trace_adal_init_buffer(&td, nullptr, 4096), 0);
    EXPECT_EQ(td, TRACE_DESC_INVALID);
    EXPECT_NE(trace_adal_write_all(TRACE_DESC_INVALID, 1, " %X", 10, 0, 5u), 0);
    EXPECT_NE(trace_adal_write_all(31, 1, " %s", 11, 0, "x"), 0);
    EXPECT_NE(trace_adal_write_all(0x7FFFFFFF, 1, " ", 12, 0), 0);
}

// Arguments are taken as the type string says: unknown conversions and those beyond eight are
// dropped, texts cut at the ring's limit, a null text kept as null.
TEST_F(Trace, ArgumentsFollowTheTypeString) {
    trace_desc_t td = openBuffer("TraceArgs");
    const std::string longText(100, 'L');
    trace_adal_write_all(td, 0x11, " %X,%s", 1, 0, 0xABCu, "text");
    trace_adal_write_all(td, 0x12, " %d,%s", 2, 0, -5, static_cast<const char*>(nullptr));
    trace_adal_write_all(td, 0x13, " %s", 3, 0, longText.c_str());
    trace_adal_write_all(td, 0x14, " %X,%f,%X", 4, 0, 1u, 2.0, 3u);
    trace_adal_write_all(td, 0x15, nullptr, 5, 7);
    trace_adal_write_all(td, 0x16, " %X,%X,%X,%X,%X,%X,%X,%X,%X", 6, 0, 1u, 2u, 3u, 4u, 5u, 6u, 7u,
                         8u, 9u);
    trace_adal_write_all(td, 0x17, " %X%", 7, 0, 0xFFFFFFFFu);

    const std::vector<std::vector<std::string>> expected = {
        {"ABC", "text"},
        {"-5", "(null)"},
        {std::string(cimpsim::ring::kMaxText, 'L')},
        {"1"},
        {},
        {"1", "2", "3", "4", "5", "6", "7", "8"},
        {"FFFFFFFF"}};
    std::vector<cimptest::TraceRecord> traces = cimptest::traceRecords("TraceArgs");
    ASSERT_EQ(traces.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(traces[i].formatId, 0x11 + i);
        EXPECT_EQ(traces[i].line, i + 1);
        EXPECT_EQ(traces[i].args, expected[i]) << "entry " << i;
    }
    EXPECT_EQ(traces[0].argTypes, " %X,%s");
    EXPECT_EQ(traces[4].type, 7);
}

TEST_F(Trace, ConcurrentWritersKeepEntryBoundariesAcrossWraps) {
    constexpr uint32_t kThreads = 4;
    constexpr uint32_t kEntriesEach = 2000;
    trace_desc_t td = openBuffer("TraceConcurrent");
    auto textFor = [](uint32_t thread, uint32_t n) {
        return std::string(n % 50, static_cast<char>('a' + thread));
    };
    std::vector<std::thread> threads;
    for (uint32_t t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (uint32_t n = 0; n < kEntriesEach; ++n) {
                trace_adal_write_all(td, 0xC0C0, " %X,%X,%s", n, 0, t, n, textFor(t, n).c_str());
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    RingContents ring = readRingFile(traceFile("TraceConcurrent"));
    ASSERT_GT(ring.head, ring.ringSize);  // it has wrapped many times
    ASSERT_FALSE(ring.entries.empty());
    std::vector<int64_t> lastSeen(kThreads, -1);
    for (const cimpsim::DecodedEntry& entry : ring.entries) {
        ASSERT_EQ(entry.args.size(), 3u);
        uint32_t thread = entry.args[0].value;
        uint32_t n = entry.args[1].value;
        ASSERT_LT(thread, kThreads);
        EXPECT_EQ(entry.line, n);
        EXPECT_EQ(entry.args[2].text, textFor(thread, n));
        EXPECT_GT(n, lastSeen[thread]) << "thread " << thread;
        lastSeen[thread] = n;
    }
    for (size_t i = 1; i < ring.entries.size(); ++i) {
        EXPECT_LE(ring.entries[i].offset - ring.entries[i - 1].offset, cimpsim::ring::kMaxEntrySize)
            << "an entry in the middle was lost";
    }
    // Everything from the first boundary in the window to the head is readable.
    EXPECT_GE(
        ring.entries.back().offset - ring.entries.front().offset + cimpsim::ring::kMaxEntrySize * 2,
        ring.ringSize);
    EXPECT_LE(ring.head - ring.entries.back().offset, cimpsim::ring::kMaxEntrySize)
        << "the newest entry was lost";
}

TEST_F(Trace, UnusableFileKeepsTheBufferInMemory) {
    setRegistry("blocker/file", "x");  // a file where the root's directories should be
    setenv("CIMP_PLATFORM_ROOT", registryFile("blocker/file").c_str(), 1);
    trace_desc_t td = openBuffer("TraceInMemory");
    trace_desc_t unsafe = openBuffer("../escape");
    EXPECT_EQ(trace_adal_write_all(td, 0x21, " %d", 1, 0, 3), 0);
    EXPECT_EQ(trace_adal_write_all(unsafe, 0x22, " ", 2, 0), 0);
    EXPECT_EQ(cimptest::traceRecords("TraceInMemory").size(), 1u);
    EXPECT_EQ(cimptest::traceRecords("../escape").size(), 1u);
    setenv("CIMP_PLATFORM_ROOT", root().c_str(), 1);
    EXPECT_EQ(openBuffer("TraceInMemory"), td);
}

// The next write restores the file: its size, a valid header, and the new entry in it.
TEST_F(Trace, FileEmptiedOrOverwrittenUnderTheMappingIsRestoredByTheNextWrite) {
    const std::pair<const char*, const char*> damages[] = {{"TraceEmptied", ""},
                                                           {"TraceOverwritten", "junk\n"}};
    for (const auto& [name, text] : damages) {
        trace_desc_t td = openBuffer(name);
        trace_adal_write_all(td, 0x31, " %X", 1, 0, 1u);
        std::ofstream(traceFile(name), std::ios::trunc) << text;
        EXPECT_EQ(trace_adal_write_all(td, 0x32, " %X", 2, 0, 2u), 0);
        RingContents ring = readRingFile(traceFile(name));
        EXPECT_EQ(ring.name, name);
        ASSERT_EQ(ring.entries.size(), 1u) << name;
        EXPECT_EQ(ring.entries[0].formatId, 0x32u) << name;
    }
}

// Each process maps the file itself, keeping a ring already there; neither waits for the other,
// and all land in one ring.
TEST_F(Trace, ProcessesShareOneRing) {
    constexpr uint32_t kEach = 20;
    auto writeAll = [](uint32_t line) {
        trace_desc_t td = openBuffer("TraceShared", 16384);
        for (uint32_t i = 0; i < kEach; ++i) {
            trace_adal_write_all(td, 0x41, " %X", line, 0, i);
        }
    };
    auto inChild = [&](uint32_t line) {
        const pid_t child = fork();
        if (child == 0) {
            writeAll(line);
            _exit(0);
        }
        return child;
    };
    // Whether `child` ended within ten seconds.
    auto ended = [](pid_t child) {
        int status = -1;
        for (int waited = 0; waited < 1000 && waitpid(child, &status, WNOHANG) == 0; ++waited) {
            usleep(10000);
        }
        if (status == -1) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
        }
        return status != -1;
    };
    const pid_t first = inChild(1);
    ASSERT_GT(first, 0);
    ASSERT_TRUE(ended(first));
    const pid_t second = inChild(2);
    ASSERT_GT(second, 0);
    writeAll(3);
    ASSERT_TRUE(ended(second)) << "the second process never finished opening the shared ring";
    std::map<uint32_t, uint32_t> perLine;
    for (const cimpsim::DecodedEntry& entry : readRingFile(traceFile("TraceShared")).entries) {
        ++perLine[entry.line];
    }
    EXPECT_EQ(perLine, (std::map<uint32_t, uint32_t>{{1, kEach}, {2, kEach}, {3, kEach}}));
}

}  // namespace
