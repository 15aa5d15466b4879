// The management-console indicator and the redundancy-policy files.
#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "platform/drax.h"
#include "platform/errl_entry.h"
#include "platform/rmgr.h"
#include "platform/sim/sim_capture.h"
#include "platform/sim/sim_return_codes.h"
#include "tests/support/platform_fixture.h"

namespace {

using Entry = std::unique_ptr<ErrlEntry>;

uint32_t rcOf(const Entry& entry) {
    return entry ? entry->getRC() : 0;
}

class ManagedInfo : public cimptest::PlatformFixture {};
class RedundancyPolicy : public cimptest::PlatformFixture {};

TEST_F(ManagedInfo, IndicatorForms) {
    struct Case {
        const char* text;
        uint32_t rc;
        uint32_t managed;
    };
    const Case cases[] = {
        {"0", 0, 0},
        {"1\n", 0, 1},
        {"  42 \n", 0, 42},
        {"0x10", 0, 16},
        {"0XfF\r\n", 0, 255},
        {"4294967295", 0, 0xFFFFFFFF},
        {"4294967296", cimpsim::kRcUnparsable, 0},
        {"0x100000000", cimpsim::kRcUnparsable, 0},
        {"", cimpsim::kRcUnparsable, 0},
        {"-1", cimpsim::kRcUnparsable, 0},
        {"0x", cimpsim::kRcUnparsable, 0},
        {"yes", cimpsim::kRcUnparsable, 0},
        {"1 2", cimpsim::kRcUnparsable, 0},
    };
    for (const Case& c : cases) {
        setManaged(c.text);
        DraxManagedInfo info;
        std::memset(&info, 0xAA, sizeof info);
        Entry entry(draxQueryDraManagedInfo(info, true));
        EXPECT_EQ(rcOf(entry), c.rc) << "'" << c.text << "'";
        if (!entry) {
            EXPECT_EQ(info.managed, c.managed) << "'" << c.text << "'";
            EXPECT_EQ(info.reserved[0] | info.reserved[11], 0);
        }
    }
}

TEST_F(ManagedInfo, LongPaddedFileIsRejected) {
    setManaged(std::string(100, ' ') + "1");
    DraxManagedInfo info{};
    EXPECT_EQ(rcOf(Entry(draxQueryDraManagedInfo(info, true))), cimpsim::kRcUnparsable);
}

TEST_F(ManagedInfo, MissingAndInjectedFailures) {
    DraxManagedInfo info{};
    EXPECT_EQ(rcOf(Entry(draxQueryDraManagedInfo(info, true))), cimpsim::kRcMissing);
    setManaged("0");
    failManaged(0xB1150004);
    cimpsim::Capture capture;
    EXPECT_EQ(rcOf(Entry(draxQueryDraManagedInfo(info, false))), 0xB1150004u);
    EXPECT_EQ(capture.calls(), std::vector<std::string>{"draxQueryDraManagedInfo"});
    ASSERT_FALSE(capture.errl().empty());
    EXPECT_EQ(capture.errl()[0].origin, "draxQueryDraManagedInfo drax/managed");
}

TEST_F(RedundancyPolicy, PolicyForms) {
    struct Case {
        const char* text;
        uint32_t rc;
        bool preset;
        bool expected;
    };
    const Case cases[] = {
        {"0", 0, true, false},
        {"0\n", 0, true, false},
        {"1", 0, false, true},
        {"1\n", 0, false, true},
        {"", 0, true, true},  // answers without setting the flag
        {"", 0, false, false},
        {"2", cimpsim::kRcUnparsable, true, true},
        {"true", cimpsim::kRcUnparsable, true, true},
        {" 1", cimpsim::kRcUnparsable, true, true},
        {"1\n\n", cimpsim::kRcUnparsable, true, true},
        {"\n", cimpsim::kRcUnparsable, true, true},
    };
    for (const Case& c : cases) {
        setPolicy(c.text);
        bool enabled = c.preset;
        Entry entry(rmgrIsRedPolicyEnabled(enabled));
        EXPECT_EQ(rcOf(entry), c.rc) << "'" << c.text << "'";
        EXPECT_EQ(enabled, c.expected) << "'" << c.text << "'";
    }
}

TEST_F(RedundancyPolicy, MissingAndInjectedFailures) {
    bool enabled = true;
    EXPECT_EQ(rcOf(Entry(rmgrIsRedPolicyEnabled(enabled))), cimpsim::kRcMissing);
    setPolicy("0");
    failPolicy(0x00000042);
    EXPECT_EQ(rcOf(Entry(rmgrIsRedPolicyEnabled(enabled))), 0x42u);
    EXPECT_TRUE(enabled);
}

TEST_F(RedundancyPolicy, ExampleMachineIsUnmanagedWithoutPolicy) {
    writeExampleMachine();
    bool enabled = true;
    DraxManagedInfo info{};
    info.managed = 7;
    EXPECT_EQ(Entry(rmgrIsRedPolicyEnabled(enabled)), nullptr);
    EXPECT_EQ(Entry(draxQueryDraManagedInfo(info, true)), nullptr);
    EXPECT_FALSE(enabled);
    EXPECT_EQ(info.managed, 0u);
}

}  // namespace
