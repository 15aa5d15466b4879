// The management-console indicator and the redundancy-policy files.
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "platform/drax.h"
#include "platform/errl_entry.h"
#include "platform/rmgr.h"
#include "platform/sim/sim_return_codes.h"
#include "tests/support/platform_fixture.h"

namespace {

using Entry = std::unique_ptr<ErrlEntry>;

uint32_t rcOf(const Entry& entry) {
    return entry ? entry->getRC() : 0;
}

class ManagedInfo : public cimptest::PlatformFixture {};
class RedundancyPolicy : public cimptest::PlatformFixture {};

Entry queryManaged(DraxManagedInfo& info) {
    std::memset(&info, 0xAA, sizeof info);
    return Entry(draxQueryDraManagedInfo(info, true));
}

// A missing file, a text that is no number below 2^32, and a fault file fail the query; the
// injected failure's entry names the service and its file.
TEST_F(ManagedInfo, IndicatorFormsAndFailures) {
    const std::pair<const char*, uint32_t> accepted[] = {
        {"0", 0},     {"1\n", 1},        {"  42 \n", 42},
        {"0x10", 16}, {"0XfF\r\n", 255}, {"4294967295", 0xFFFFFFFF}};
    DraxManagedInfo info;
    EXPECT_EQ(rcOf(queryManaged(info)), cimpsim::kRcMissing);
    for (const auto& c : accepted) {
        setManaged(c.first);
        EXPECT_EQ(rcOf(queryManaged(info)), 0u) << "'" << c.first << "'";
        EXPECT_EQ(info.managed, c.second) << "'" << c.first << "'";
        EXPECT_EQ(info.reserved[0] | info.reserved[11], 0);
    }
    const std::string rejected[] = {
        "4294967296", "0x100000000", "", "-1", "0x", "yes", "1 2", std::string(100, ' ') + "1"};
    for (const std::string& text : rejected) {
        setManaged(text);
        EXPECT_EQ(rcOf(queryManaged(info)), cimpsim::kRcUnparsable) << "'" << text << "'";
    }
    failManaged(0xB1150004);
    Entry failed(queryManaged(info));
    ASSERT_EQ(rcOf(failed), 0xB1150004u);
    failed->commit(0xd400, 0x2000);
    ASSERT_EQ(errlLines().size(), 1u);
    EXPECT_NE(errlLines()[0].find(" draxQueryDraManagedInfo drax/managed "), std::string::npos);
}

// An empty file answers without setting the flag; a refused, missing or failing file leaves it
// alone too.
TEST_F(RedundancyPolicy, PolicyFormsAndFailures) {
    const std::pair<const char*, bool> accepted[] = {
        {"0", false}, {"0\n", false}, {"1", true}, {"1\n", true}, {"", true}};
    bool unset = true;
    EXPECT_EQ(rcOf(Entry(rmgrIsRedPolicyEnabled(unset))), cimpsim::kRcMissing);
    for (const auto& c : accepted) {
        setPolicy(c.first);
        for (bool preset : {false, true}) {
            bool enabled = preset;
            EXPECT_EQ(rcOf(Entry(rmgrIsRedPolicyEnabled(enabled))), 0u) << "'" << c.first << "'";
            EXPECT_EQ(enabled, *c.first ? c.second : preset) << "'" << c.first << "'";
        }
    }
    for (const char* text : {"2", "true", " 1", "1\n\n", "\n"}) {
        setPolicy(text);
        bool enabled = true;
        EXPECT_EQ(rcOf(Entry(rmgrIsRedPolicyEnabled(enabled))), cimpsim::kRcUnparsable) << text;
        EXPECT_TRUE(enabled) << "'" << text << "'";
    }
    failPolicy(0x00000042);
    EXPECT_EQ(rcOf(Entry(rmgrIsRedPolicyEnabled(unset))), 0x42u);
    EXPECT_TRUE(unset);
}

}  // namespace
