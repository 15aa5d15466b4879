#include "sysdata/ip_addrs.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/platform_fixture.h"
#include "tests/sysdata/reader_checks.h"

namespace {

using cimptest::EntryPtr;
using std::string;

const string kEth0Key = "fstp/eth0_ipaddress";
const string kEth1Key = "fstp/eth1_ipaddress";

// The whole 16-byte field as the caller sees it; the reader pads with NULs.
string field(const char (&bytes)[16]) {
    return string(bytes, sizeof bytes);
}
string padded(const string& text) {
    return text + string(16 - text.size(), '\0');
}

TEST(IpAddrReader, CopiesAtMostFifteenCharacters) {
    const struct {
        string value, expected;
    } cases[] = {
        {"10.0.0.1", "10.0.0.1"},
        {"255.255.255.255", "255.255.255.255"},
        {"1234567890ABCDEF", "1234567890ABCDE"},  // fills the buffer without a NUL
        {string(64, '9'), string(15, '9')},
        {string("1.2\0garbage", 11), "1.2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        cimptest::PlatformRoot platform;
        platform.setRegistry(kEth0Key, c.value);
        platform.setRegistry(kEth1Key, "10.0.0.2");
        CimpIpAddr_t addrs = {};
        EntryPtr entry(cimpGetIpAddrs(addrs));
        ASSERT_EQ(entry, nullptr);
        EXPECT_EQ(field(addrs.eth0Addr), padded(c.expected));
        EXPECT_EQ(field(addrs.eth1Addr), padded("10.0.0.2"));
    }
}

TEST(IpAddrReader, AnyFailedReadMakesBothUnavailable) {
    for (const string& failing : {kEth0Key, kEth1Key}) {
        SCOPED_TRACE(failing);
        cimptest::PlatformRoot platform;
        platform.writeExampleMachine();
        platform.failRegistry(failing, 0xE7);
        cimpsim::Capture capture;
        CimpIpAddr_t addrs = {};

        EntryPtr entry(cimpGetIpAddrs(addrs));

        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->getRC(), 0xE7u);
        // A good first address is never shown beside a failed second one.
        EXPECT_EQ(field(addrs.eth0Addr), padded("Unavailable"));
        EXPECT_EQ(field(addrs.eth1Addr), padded("Unavailable"));
        EXPECT_EQ(capture.calls().back(), "UtilReg::read " + failing);
        EXPECT_EQ(cimptest::traceArgs(capture), (cimptest::TraceArgs{{}, {"E7"}, {"E7"}}));
        cimptest::expectOnlyCreated(capture);
    }
}

}  // namespace
