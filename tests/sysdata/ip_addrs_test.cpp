#include "sysdata/ip_addrs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/sim/sim_capture.h"
#include "tests/support/platform_fixture.h"
#include "tests/sysdata/reader_expectations.h"

namespace {

using cimptest::EntryPtr;
using std::string;

constexpr char kEth0Key[] = "fstp/eth0_ipaddress";
constexpr char kEth1Key[] = "fstp/eth1_ipaddress";

// The whole 16-byte field: the text, NULs up to byte 15, and the caller's cleared last byte.
string field(const char (&bytes)[16]) {
    return string(bytes, sizeof bytes);
}
string padded(const string& text) {
    return text + string(16 - text.size(), '\0');
}

struct AddrCase {
    const char* name;
    string eth0;
    string eth1;
    string expected0;
    string expected1;
};
void PrintTo(const AddrCase& c, std::ostream* os) {
    *os << c.name;
}

class IpAddrValues : public cimptest::PlatformFixture,
                     public ::testing::WithParamInterface<AddrCase> {};

TEST_P(IpAddrValues, CopiesBoundedAndTerminated) {
    const AddrCase& c = GetParam();
    setRegistry(kEth0Key, c.eth0);
    setRegistry(kEth1Key, c.eth1);
    cimpsim::Capture capture;

    CimpIpAddr_t addrs = {};
    EntryPtr entry(cimpGetIpAddrs(addrs));

    ASSERT_EQ(entry, nullptr);
    EXPECT_EQ(field(addrs.eth0Addr), padded(c.expected0));
    EXPECT_EQ(field(addrs.eth1Addr), padded(c.expected1));
    EXPECT_EQ(cimptest::lastTraceArgs(capture), std::vector<string>{"0"});
}

INSTANTIATE_TEST_SUITE_P(
    Registry, IpAddrValues,
    ::testing::Values(AddrCase{"Plain", "10.0.0.1", "10.0.0.2", "10.0.0.1", "10.0.0.2"},
                      AddrCase{"LongestDotted", "255.255.255.255", "192.168.100.200",
                               "255.255.255.255", "192.168.100.200"},
                      // A value filling the buffer without a NUL keeps 15 characters.
                      AddrCase{"SixteenWithoutNul", "1234567890ABCDEF", string(16, 'x'),
                               "1234567890ABCDE", string(15, 'x')},
                      AddrCase{"OverLong", string(64, '9'), "1.2.3.4", string(15, '9'), "1.2.3.4"},
                      // Bytes after a NUL are not copied.
                      AddrCase{"NulInside", string("1.2\0garbage", 11), "", "1.2", ""}),
    [](const ::testing::TestParamInfo<AddrCase>& info) { return string(info.param.name); });

struct AddrFailureCase {
    const char* name;
    const char* failingKey;
    std::vector<string> expectedCalls;
};
void PrintTo(const AddrFailureCase& c, std::ostream* os) {
    *os << c.name;
}

class IpAddrFailures : public cimptest::PlatformFixture,
                       public ::testing::WithParamInterface<AddrFailureCase> {};

TEST_P(IpAddrFailures, BothFieldsUnavailable) {
    const AddrFailureCase& c = GetParam();
    writeExampleMachine();
    failRegistry(c.failingKey, 0xE7);
    cimpsim::Capture capture;

    CimpIpAddr_t addrs = {};
    EntryPtr entry(cimpGetIpAddrs(addrs));

    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->getRC(), 0xE7u);
    EXPECT_EQ(field(addrs.eth0Addr), padded("Unavailable"));
    EXPECT_EQ(field(addrs.eth1Addr), padded("Unavailable"));
    EXPECT_EQ(capture.calls(), c.expectedCalls);
    const std::vector<std::vector<string>> traces = {{}, {"E7"}, {"E7"}};
    EXPECT_EQ(cimptest::allTraceArgs(capture), traces);
    cimptest::expectOnlyCreated(capture);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, IpAddrFailures,
    ::testing::Values(AddrFailureCase{"Eth0", kEth0Key, {"UtilReg::read fstp/eth0_ipaddress"}},
                      // A good first address is not shown beside a failed second one.
                      AddrFailureCase{"Eth1",
                                      kEth1Key,
                                      {"UtilReg::read fstp/eth0_ipaddress",
                                       "UtilReg::read fstp/eth1_ipaddress"}}),
    [](const ::testing::TestParamInfo<AddrFailureCase>& info) { return string(info.param.name); });

}  // namespace
