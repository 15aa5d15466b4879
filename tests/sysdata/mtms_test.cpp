#include "sysdata/mtms.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/sim/sim_capture.h"
#include "platform/sim/sim_return_codes.h"
#include "tests/support/platform_fixture.h"
#include "tests/sysdata/reader_expectations.h"

namespace {

using cimptest::EntryPtr;
using std::string;

constexpr char kTypeModelKey[] = "svpd/Raw_MachineTypeModel";
constexpr char kSerialKey[] = "svpd/Raw_MachineSerialNumber";

struct IdentityCase {
    const char* name;
    string typeModel;
    string serial;
    const char* type;
    const char* model;
    const char* serialOut;
    const char* compact;
    const char* dashed;
    const char* dotted;
};
void PrintTo(const IdentityCase& c, std::ostream* os) {
    *os << c.name;
}

class MtmsValues : public cimptest::PlatformFixture,
                   public ::testing::WithParamInterface<IdentityCase> {};

TEST_P(MtmsValues, FillsPartsAndJoinedTexts) {
    const IdentityCase& c = GetParam();
    setRegistry(kTypeModelKey, c.typeModel);
    setRegistry(kSerialKey, c.serial);
    cimpsim::Capture capture;

    CimpMtms_t mtms = {};
    EntryPtr entry(cimpGetMtms(mtms));

    ASSERT_EQ(entry, nullptr);
    EXPECT_STREQ(mtms.type, c.type);
    EXPECT_STREQ(mtms.model, c.model);
    EXPECT_STREQ(mtms.serial, c.serialOut);
    EXPECT_STREQ(mtms.mtmsCompact, c.compact);
    EXPECT_STREQ(mtms.mtmsDashed, c.dashed);
    EXPECT_STREQ(mtms.mtmsDotted, c.dotted);
    EXPECT_EQ(cimptest::lastTraceArgs(capture), std::vector<string>{"0"});
}

INSTANTIATE_TEST_SUITE_P(
    Registry, MtmsValues,
    ::testing::Values(
        IdentityCase{"Example", "9119-MHE", string("10ABCDE\0\0\0\0\0", 12), "9119", "MHE",
                     "10ABCDE", "9119MHE*10ABCDE", "9119-MHE*10ABCDE", "9119.MHE.10ABCDE"},
        // Byte 4 is skipped whatever it holds, a NUL included.
        IdentityCase{"SeparatorIgnored", string("9119\0MHE", 8), "10ABCDE", "9119", "MHE",
                     "10ABCDE", "9119MHE*10ABCDE", "9119-MHE*10ABCDE", "9119.MHE.10ABCDE"},
        IdentityCase{"SeparatorIsLetter", "9119QMHE", "10ABCDE", "9119", "MHE", "10ABCDE",
                     "9119MHE*10ABCDE", "9119-MHE*10ABCDE", "9119.MHE.10ABCDE"},
        IdentityCase{"TwelveByteSerialKeepsSeven", "9119-MHE", "ABCDEFGHIJKL", "9119", "MHE",
                     "ABCDEFG", "9119MHE*ABCDEFG", "9119-MHE*ABCDEFG", "9119.MHE.ABCDEFG"},
        IdentityCase{"ShortSerialEndsEarly", "9119-MHE", string("12345\0XY", 8), "9119", "MHE",
                     "12345", "9119MHE*12345", "9119-MHE*12345", "9119.MHE.12345"},
        // Values shorter than the buffer end where they end; the rest of the buffer is clear.
        IdentityCase{"ShortTypeModel", "91", "S1", "91", "", "S1", "91*S1", "91-*S1", "91..S1"},
        IdentityCase{"EmptyValues", "", "", "", "", "", "*", "-*", ".."},
        IdentityCase{"NulInsideType", string("9\0\0\0-MHE", 8), "SER", "9", "MHE", "SER",
                     "9MHE*SER", "9-MHE*SER", "9.MHE.SER"},
        // Longer values are cut by the capacity passed; nothing past it is used.
        IdentityCase{"OverLongValues", "9119-MHEXXXXXXXXXXXXXXXX", string(40, 'S'), "9119", "MHE",
                     "SSSSSSS", "9119MHE*SSSSSSS", "9119-MHE*SSSSSSS", "9119.MHE.SSSSSSS"},
        IdentityCase{"HighBytesTakenAsTheyStand", "\xff\xfe\xfd\xfc-\x80\x81\x82",
                     "\x7f\x01\x02\x03\x04\x05\x06", "\xff\xfe\xfd\xfc", "\x80\x81\x82",
                     "\x7f\x01\x02\x03\x04\x05\x06",
                     "\xff\xfe\xfd\xfc\x80\x81\x82*\x7f\x01\x02\x03\x04\x05\x06",
                     "\xff\xfe\xfd\xfc-\x80\x81\x82*\x7f\x01\x02\x03\x04\x05\x06",
                     "\xff\xfe\xfd\xfc.\x80\x81\x82.\x7f\x01\x02\x03\x04\x05\x06"}),
    [](const ::testing::TestParamInfo<IdentityCase>& info) { return string(info.param.name); });

struct FailureCase {
    const char* name;
    const char* failingKey;
    std::vector<string> expectedCalls;
};
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class MtmsFailures : public cimptest::PlatformFixture,
                     public ::testing::WithParamInterface<FailureCase> {};

TEST_P(MtmsFailures, ReturnsEntryAndLeavesRecordAsPassed) {
    const FailureCase& c = GetParam();
    writeExampleMachine();
    failRegistry(c.failingKey, 0x00C0FFEE);
    cimpsim::Capture capture;

    CimpMtms_t mtms;
    std::memset(&mtms, 0xA5, sizeof mtms);
    CimpMtms_t before = mtms;
    EntryPtr entry(cimpGetMtms(mtms));

    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->getRC(), 0x00C0FFEEu);
    EXPECT_EQ(std::memcmp(&mtms, &before, sizeof mtms), 0);
    EXPECT_EQ(capture.calls(), c.expectedCalls);
    // Entry, the failure where it was detected, exit.
    const std::vector<std::vector<string>> traces = {{}, {"C0FFEE"}, {"C0FFEE"}};
    EXPECT_EQ(cimptest::allTraceArgs(capture), traces);
    cimptest::expectOnlyCreated(capture);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, MtmsFailures,
    ::testing::Values(
        // The serial is never read after the type-model read failed.
        FailureCase{"TypeModel", kTypeModelKey, {"UtilReg::read svpd/Raw_MachineTypeModel"}},
        FailureCase{"Serial",
                    kSerialKey,
                    {"UtilReg::read svpd/Raw_MachineTypeModel",
                     "UtilReg::read svpd/Raw_MachineSerialNumber"}}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return string(info.param.name); });

using MtmsReader = cimptest::PlatformFixture;

TEST_F(MtmsReader, MissingSerialValueFailsWithMissingCode) {
    writeExampleMachine();
    removeRegistry(kSerialKey);
    CimpMtms_t mtms = {};
    EntryPtr entry(cimpGetMtms(mtms));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->getRC(), cimpsim::kRcMissing);
    EXPECT_STREQ(mtms.mtmsDashed, "");
}

}  // namespace
