#include "sysdata/enablement_gate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/platform_fixture.h"
#include "tests/sysdata/reader_checks.h"

namespace {

using cimptest::EntryPtr;
using std::string;

// Stands for "this service fails" in a case's column.
const string kFail = "fail";
constexpr uint32_t kFailRc = 0x4711;
const std::vector<string> kAllCalls = {"UtilReg::read dscv/FspRole", "draxQueryDraManagedInfo",
                                       "rmgrIsRedPolicyEnabled"};

struct GateCase {
    string role, managed, policy;
    bool open;
    size_t callsMade;  // the first services of kAllCalls that are asked
    bool failed;
};

void arrange(cimptest::PlatformRoot& platform, const GateCase& c) {
    platform.setRegistry("dscv/FspRole", c.role == kFail ? string(1, '\x01') : c.role);
    platform.setManaged(c.managed == kFail ? "0" : c.managed);
    platform.setPolicy(c.policy == kFail ? "0" : c.policy);
    if (c.role == kFail) {
        platform.failRegistry("dscv/FspRole", kFailRc);
    }
    if (c.managed == kFail) {
        platform.failManaged(kFailRc);
    }
    if (c.policy == kFail) {
        platform.failPolicy(kFailRc);
    }
}

TEST(EnablementGate, AsksInOrderAndStopsAtFirstNo) {
    const string role1(1, '\x01');
    const GateCase cases[] = {
        {role1, "0", "0", true, 3, false},
        {string(1, '\0'), "0", "0", false, 1, false},
        {string(1, '\x02'), "0", "0", false, 1, false},
        {"", "0", "0", false, 1, false},                    // empty value: the cleared byte
        {string("\x01\x07", 2), "0", "0", true, 3, false},  // only the first byte counts
        {kFail, "0", "0", false, 1, true},
        {role1, "1", "0", false, 2, false},
        {role1, "0x80000000", "0", false, 2, false},
        {role1, kFail, "0", false, 2, true},
        {role1, "0", "1", false, 3, false},
        {role1, "0", "", false, 3, false},  // the service answers without setting the flag
        {role1, "0", kFail, false, 3, true},
    };
    for (auto gate : {&cimpQueryCimEnabled, &cimpQueryTovPassthroughEnabled}) {
        for (const GateCase& c : cases) {
            SCOPED_TRACE((gate == &cimpQueryCimEnabled ? "cim " : "passthrough ") + c.managed +
                         "/" + c.policy + " role size " + std::to_string(c.role.size()));
            cimptest::PlatformRoot platform;
            arrange(platform, c);
            cimpsim::Capture capture;
            bool enabled = !c.open;  // so that a path which forgets the flag shows

            EntryPtr entry(gate(enabled));

            EXPECT_EQ(enabled, c.open);
            ASSERT_EQ(entry != nullptr, c.failed);
            if (entry != nullptr) {
                EXPECT_EQ(entry->getRC(), kFailRc);
            }
            EXPECT_EQ(capture.calls(),
                      std::vector<string>(kAllCalls.begin(), kAllCalls.begin() + c.callsMade));
            const cimptest::TraceArgs traces = cimptest::traceArgs(capture);
            ASSERT_FALSE(traces.empty());
            EXPECT_EQ(traces.back(),
                      (std::vector<string>{c.failed ? "4711" : "0", c.open ? "1" : "0"}));
            // Entry and exit, one more where the gate closed or failed, and the wrapper's own two.
            EXPECT_EQ(traces.size(), (c.open ? 2u : 3u) + (gate == &cimpQueryCimEnabled ? 0u : 2u));
            cimptest::expectOnlyCreated(capture);
        }
    }
}

}  // namespace
