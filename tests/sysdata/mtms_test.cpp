#include "sysdata/mtms.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/platform_fixture.h"
#include "tests/sysdata/reader_checks.h"

namespace {

using cimptest::EntryPtr;
using std::string;

const string kTypeModelKey = "svpd/Raw_MachineTypeModel";
const string kSerialKey = "svpd/Raw_MachineSerialNumber";

string describe(const CimpMtms_t& m) {
    return string(m.type) + "|" + m.model + "|" + m.serial + " " + m.mtmsCompact + " " +
           m.mtmsDashed + " " + m.mtmsDotted;
}

TEST(MtmsReader, TakesFixedBytesOfEachValue) {
    const struct {
        string typeModel, serial, expected;
    } cases[] = {
        {"9119-MHE", string("10ABCDE\0\0\0\0\0", 12),
         "9119|MHE|10ABCDE 9119MHE*10ABCDE 9119-MHE*10ABCDE 9119.MHE.10ABCDE"},
        // Byte 4 is skipped whatever it holds.
        {string("9119\0MHE", 8), "10ABCDE",
         "9119|MHE|10ABCDE 9119MHE*10ABCDE 9119-MHE*10ABCDE 9119.MHE.10ABCDE"},
        {"ABCDQXYZ", "ABCDEFGHIJKL",
         "ABCD|XYZ|ABCDEFG ABCDXYZ*ABCDEFG ABCD-XYZ*ABCDEFG ABCD.XYZ.ABCDEFG"},
        {"9119-MHE", string("12345\0XY", 8),
         "9119|MHE|12345 9119MHE*12345 9119-MHE*12345 9119.MHE.12345"},
        // Short values end where they end; over-long ones are cut by the capacity passed.
        {"91", "", "91|| 91* 91-* 91.."},
        {string("9\0\0\0-MHE", 8), string(40, 'S'),
         "9|MHE|SSSSSSS 9MHE*SSSSSSS 9-MHE*SSSSSSS 9.MHE.SSSSSSS"},
        {"9119-MHE" + string(100, 'X'), "S", "9119|MHE|S 9119MHE*S 9119-MHE*S 9119.MHE.S"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        cimptest::PlatformRoot platform;
        platform.setRegistry(kTypeModelKey, c.typeModel);
        platform.setRegistry(kSerialKey, c.serial);
        cimpsim::Capture capture;
        CimpMtms_t mtms = {};
        EntryPtr entry(cimpGetMtms(mtms));
        ASSERT_EQ(entry, nullptr);
        EXPECT_EQ(describe(mtms), c.expected);
        EXPECT_EQ(cimptest::traceArgs(capture), (cimptest::TraceArgs{{}, {"0"}}));
    }
}

TEST(MtmsReader, FailedReadReturnsEntryAndLeavesRecordAsPassed) {
    for (const string& failing : {kTypeModelKey, kSerialKey}) {
        SCOPED_TRACE(failing);
        cimptest::PlatformRoot platform;
        platform.writeExampleMachine();
        platform.failRegistry(failing, 0x00C0FFEE);
        cimpsim::Capture capture;
        CimpMtms_t mtms;
        std::memset(&mtms, 0xA5, sizeof mtms);
        const CimpMtms_t before = mtms;

        EntryPtr entry(cimpGetMtms(mtms));

        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->getRC(), 0x00C0FFEEu);
        EXPECT_EQ(std::memcmp(&mtms, &before, sizeof mtms), 0);
        // The serial is read only after the type-model read succeeded.
        EXPECT_EQ(capture.calls().back(), "UtilReg::read " + failing);
        EXPECT_EQ(cimptest::traceArgs(capture), (cimptest::TraceArgs{{}, {"C0FFEE"}, {"C0FFEE"}}));
        cimptest::expectOnlyCreated(capture);
    }
}

}  // namespace
