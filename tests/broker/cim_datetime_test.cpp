// The CIM date-time text form: parsing with offsets and intervals, and refusing malformed text.
#include <gtest/gtest.h>

#include "broker/cim_datetime.h"

namespace cimbroker {
namespace {

TEST(CimDateTime, ReadsAndWritesBack) {
    const struct {
        const char* text;
        uint64_t microseconds;
        bool interval;
        const char* formatted;  // how it is written back
    } cases[] = {
        {"19700101000000.000000+000", 0, false, "19700101000000.000000+000"},
        {"20240229123456.123456+000", 1709210096123456ULL, false, "20240229123456.123456+000"},
        // One hour east of UTC is one hour earlier in UTC.
        {"20000101010000.000000+060", 946684800000000ULL, false, "20000101000000.000000+000"},
        {"19991231230000.000000-060", 946684800000000ULL, false, "20000101000000.000000+000"},
        {"00000001020304.000005:000", 93784000005ULL, true, "00000001020304.000005:000"},
        // A day past the month's end runs on into the next month.
        {"20230231000000.000000+000", 1677801600000000ULL, false, "20230303000000.000000+000"},
        {"99991231235959.000000+000", 253402300799000000ULL, false, "99991231235959.000000+000"},
    };
    for (const auto& c : cases) {
        CimDateTime value{};
        ASSERT_TRUE(parseCimDateTime(c.text, value)) << c.text;
        EXPECT_EQ(value.microseconds, c.microseconds) << c.text;
        EXPECT_EQ(value.interval, c.interval) << c.text;
        EXPECT_EQ(formatCimDateTime(value), c.formatted);
    }
}

TEST(CimDateTime, RefusesMalformedText) {
    const char* bad[] = {
        nullptr,
        "",
        "2024022912345.123456+000",    // 24 characters
        "20240229123456.123456+0000",  // 26 characters
        "20241329123456.123456+000",   // month 13
        "20240229123456,123456+000",   // no dot
        "2024022912345*.123456+000",   // wildcard
        "20240229123456.123456*000",   // no sign
        "19700101000000.000000+060",   // before 1970 in UTC
        "00000001250000.000000:000",   // interval hour 25
    };
    for (const char* text : bad) {
        CimDateTime value{};
        EXPECT_FALSE(parseCimDateTime(text, value)) << (text ? text : "(null)");
    }
}

}  // namespace
}  // namespace cimbroker
