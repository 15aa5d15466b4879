#include "sysdata/user_defined_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/sim/sim_capture.h"
#include "tests/support/platform_fixture.h"
#include "tests/sysdata/reader_expectations.h"

namespace {

using cimptest::EntryPtr;
using std::string;

constexpr char kNameKey[] = "fstp/SystemName";

struct NameCase {
    const char* name;
    string value;
    string expected;
};
void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.name;
}

class UserDefNameValues : public cimptest::PlatformFixture,
                          public ::testing::WithParamInterface<NameCase> {};

TEST_P(UserDefNameValues, CopiesAtMostThirtyOneCharacters) {
    const NameCase& c = GetParam();
    setRegistry(kNameKey, c.value);
    cimpsim::Capture capture;

    char name[32] = {};
    EntryPtr entry(CIMP_getCEC_UserDefName(name));

    ASSERT_EQ(entry, nullptr);
    EXPECT_EQ(string(name, sizeof name), c.expected + string(32 - c.expected.size(), '\0'));
    EXPECT_EQ(cimptest::lastTraceArgs(capture), std::vector<string>{"0"});
}

INSTANTIATE_TEST_SUITE_P(
    Registry, UserDefNameValues,
    ::testing::Values(NameCase{"Plain", "lab-system-7", "lab-system-7"},
                      NameCase{"ThirtyOne", string(31, 'n'), string(31, 'n')},
                      // 32 bytes and no NUL: cut so that the terminator fits.
                      NameCase{"ThirtyTwoWithoutNul", string(32, 'n'), string(31, 'n')},
                      NameCase{"OverLong", string(100, 'n'), string(31, 'n')},
                      NameCase{"Empty", "", ""}, NameCase{"NulInside", string("ab\0cd", 5), "ab"}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return string(info.param.name); });

using UserDefNameReader = cimptest::PlatformFixture;

TEST_F(UserDefNameReader, FailedReadLeavesBufferUntouched) {
    failRegistry(kNameKey, 0x5150);
    cimpsim::Capture capture;

    char name[32];
    std::memset(name, 0x5A, sizeof name);
    EntryPtr entry(CIMP_getCEC_UserDefName(name));

    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->getRC(), 0x5150u);
    EXPECT_EQ(string(name, sizeof name), string(32, '\x5A'));
    const std::vector<std::vector<string>> traces = {{}, {"5150"}, {"5150"}};
    EXPECT_EQ(cimptest::allTraceArgs(capture), traces);
    cimptest::expectOnlyCreated(capture);
}

}  // namespace
