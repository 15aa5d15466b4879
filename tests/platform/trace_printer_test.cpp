// Reading a ring back and printing it: message formatting, the command line, damaged files.
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/printer/trace_message.h"
#include "platform/sim/printer/trace_printer.h"
#include "platform/sim/printer/trace_ring_reader.h"
#include "platform/sim/trace_ring.h"
#include "platform/sim/trace_ring_format.h"
#include "platform/trace.h"
#include "tests/platform/log_fields.h"
#include "tests/support/platform_fixture.h"

namespace {

using cimpsim::DecodedArg;
using cimpsim::DecodedEntry;

DecodedArg hex(uint32_t value) {
    return {'X', value, std::string()};
}
DecodedArg dec(int32_t value) {
    return {'d', static_cast<uint32_t>(value), std::string()};
}
DecodedArg text(const std::string& value) {
    return {'s', 0, value};
}
DecodedArg null() {
    return {'n', 0, std::string()};
}

DecodedEntry entryWith(std::vector<DecodedArg> args) {
    return DecodedEntry{0, 0, 0xABCD0123, 42, 7, 0, " %X", std::move(args)};
}

TEST(TraceMessage, FillsConversionsFromArguments) {
    struct Case {
        const char* format;
        std::vector<DecodedArg> args;
        std::string expected;
    };
    const Case cases[] = {
        {"exit rc=0x%X", {hex(0x1F)}, "exit rc=0x1F"},
        {"rc=%08X n=%d", {hex(0x1F), dec(-3)}, "rc=0000001F n=-3"},
        {"class %s role=%s", {text("Vesk_CEC"), null()}, "class Vesk_CEC role=(null)"},
        {"%lu%%", {hex(100)}, "100%"},
        {"name %s", {hex(5)}, "name 0x5"},
        {"count %d", {text("x")}, "count \"x\""},
        {"a=%X b=%X", {hex(1)}, "a=1 b=<missing>"},
        {"only %X", {hex(1), text("extra"), dec(2)}, "only 1 [\"extra\", 2]"},
        {"odd %f %", {hex(1)}, "odd %f % [0x1]"},
        {"bell %s", {text("a\x07z")}, "bell a\\x07z"},
        {"entry", {}, "entry"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cimpsim::traceMessage(c.format, entryWith(c.args)), c.expected) << c.format;
    }
}

TEST(TraceMessage, UnknownFormatShowsIdAndRawArguments) {
    EXPECT_EQ(cimpsim::traceMessage(nullptr, entryWith({hex(0x10), text("t"), null()})),
              "unknown format 0xABCD0123 ( %X): 0x10, \"t\", (null)");
    DecodedEntry entry = entryWith({});
    entry.timestampNanos = 1767225600123456789ull;
    EXPECT_EQ(cimpsim::traceLine("entry", entry),
              "2026-01-01T00:00:00.123456Z tid=7 line=42 entry");
}

class TracePrinter : public cimptest::PlatformFixture {
  protected:
    int run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        return cimpsim::runTracePrinter(args, kFormats, 1, out, err);
    }

    static constexpr cimpsim::TraceFormatText kFormats[] = {{0x5151, "gate: exit rc=0x%X %s"}};
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(TracePrinter, PrintsASmallBufferOldestFirst) {
    trace_desc_t td = TRACE_DESC_INVALID;
    ASSERT_EQ(trace_adal_init_buffer(&td, "PrinterSmall", 1024), 0);
    trace_adal_write_all(td, 0x5151, " %X,%s", 100, 0, 0u, "open");
    trace_adal_write_all(td, 0x9999, " %d", 101, 0, -1);
    trace_adal_write_all(td, 0x5151, " %X,%s", 102, 0, 0xB1u, "closed");

    ASSERT_EQ(run({"--root", root(), "PrinterSmall"}), 0) << err.str();
    const std::string printed = out.str();
    EXPECT_EQ(cimptest::maskTimes(printed),
              "<time> tid=<n> line=100 gate: exit rc=0x0 open\n"
              "<time> tid=<n> line=101 unknown format 0x00009999 ( %d): -1\n"
              "<time> tid=<n> line=102 gate: exit rc=0xB1 closed\n");

    ASSERT_EQ(run({traceFile("PrinterSmall")}), 0);
    EXPECT_EQ(out.str(), printed);
}

TEST_F(TracePrinter, CommandLineErrorsAndFormatList) {
    EXPECT_EQ(run({"--formats"}), 0);
    EXPECT_EQ(out.str(), "0x00005151 gate: exit rc=0x%X %s\n");
    EXPECT_EQ(run({"--bogus"}), 2);
    EXPECT_NE(err.str().find("usage:"), std::string::npos);
    EXPECT_EQ(run({"a", "b"}), 2);
    EXPECT_EQ(run({"--root", root(), "Absent"}), 1);
    EXPECT_EQ(err.str(), "cimp-trace: " + root() + "/trace/Absent: cannot open\n");
}

// Writes a ring with a few entries and returns its bytes.
std::string sampleRing() {
    std::vector<uint64_t> memory(1024 / 8, 0);
    auto* base = reinterpret_cast<uint8_t*>(memory.data());
    cimpsim::TraceRing::prepare(base, 1024, "Sample");
    cimpsim::TraceRing ring(base, 1024);
    for (int i = 0; i < 30; ++i) {
        uint8_t entry[cimpsim::ring::kMaxEntrySize] = {};
        ring.append(entry, 48 + 8 * static_cast<uint32_t>(i % 3));
    }
    return std::string(reinterpret_cast<const char*>(base), 1024);
}

bool readBytes(const std::string& bytes, cimpsim::RingContents& contents, std::string& error) {
    return cimpsim::readTraceRing(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                  contents, error);
}

// A head anywhere, up to the end of its range, only moves the window: no damage.
TEST(TraceRingReader, DamagedHeadersAreClearErrors) {
    const std::string good = sampleRing();
    cimpsim::RingContents contents;
    std::string error;
    ASSERT_TRUE(readBytes(good, contents, error)) << error;
    EXPECT_FALSE(contents.entries.empty());
    for (uint64_t head : {uint64_t{0x7F7F7F7F7F7F7F78}, ~uint64_t{7}}) {
        std::string farHead = good;
        std::memcpy(&farHead[24], &head, sizeof head);
        EXPECT_TRUE(readBytes(farHead, contents, error)) << error;
        EXPECT_TRUE(contents.entries.empty());
    }

    struct Case {
        std::string bytes;
        std::string error;
    };
    std::string badMagic = good;
    badMagic[0] = 'X';
    std::string badVersion = good;
    badVersion[8] = 9;
    std::string oddHead = good;
    oddHead[24] = static_cast<char>(oddHead[24] | 3);
    const Case cases[] = {
        {"", "truncated: 0 bytes, a trace ring header needs 64"},
        {good.substr(0, 63), "truncated: 63 bytes, a trace ring header needs 64"},
        {good.substr(0, 1000), "truncated or resized: the header describes 1024 bytes, found 1000"},
        {good + "tail", "truncated or resized: the header describes 1024 bytes, found 1028"},
        {badMagic, "not a trace ring (bad magic)"},
        {badVersion, "unsupported trace ring version 9"},
        {oddHead, "corrupt trace ring header"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(readBytes(c.bytes, contents, error));
        EXPECT_EQ(error, c.error);
    }
}

}  // namespace
