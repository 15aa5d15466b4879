#include "sysdata/user_defined_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/platform_fixture.h"
#include "tests/sysdata/reader_checks.h"

namespace {

using cimptest::EntryPtr;
using std::string;

const string kNameKey = "fstp/SystemName";

TEST(UserDefNameReader, CopiesAtMostThirtyOneCharactersAndNul) {
    const struct {
        string value, expected;
    } cases[] = {
        {"lab-system-7", "lab-system-7"},    {string(31, 'n'), string(31, 'n')},
        {string(32, 'n'), string(31, 'n')},  // fills the buffer without a NUL
        {string(100, 'n'), string(31, 'n')}, {string("ab\0cd", 5), "ab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        cimptest::PlatformRoot platform;
        platform.setRegistry(kNameKey, c.value);
        char name[32] = {};
        EntryPtr entry(CIMP_getCEC_UserDefName(name));
        ASSERT_EQ(entry, nullptr);
        EXPECT_EQ(string(name, sizeof name), c.expected + string(32 - c.expected.size(), '\0'));
    }
}

TEST(UserDefNameReader, FailedReadLeavesBufferUntouched) {
    cimptest::PlatformRoot platform;
    platform.failRegistry(kNameKey, 0x5150);
    cimpsim::Capture capture;
    char name[32];
    std::memset(name, 0x5A, sizeof name);

    EntryPtr entry(CIMP_getCEC_UserDefName(name));

    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->getRC(), 0x5150u);
    EXPECT_EQ(string(name, sizeof name), string(32, '\x5A'));
    EXPECT_EQ(cimptest::traceArgs(capture), (cimptest::TraceArgs{{}, {"5150"}, {"5150"}}));
    cimptest::expectOnlyCreated(capture);
}

}  // namespace
