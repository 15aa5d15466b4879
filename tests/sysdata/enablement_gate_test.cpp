#include "sysdata/enablement_gate.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/sim/sim_capture.h"
#include "tests/support/platform_fixture.h"
#include "tests/sysdata/reader_expectations.h"

namespace {

using cimptest::EntryPtr;
using std::string;

constexpr char kRoleKey[] = "dscv/FspRole";
const string kReadRole = "UtilReg::read dscv/FspRole";
const string kAskDrax = "draxQueryDraManagedInfo";
const string kAskRmgr = "rmgrIsRedPolicyEnabled";

// One platform state. A fail code replaces the matching value; `role` unset removes the value.
struct GateCase {
    const char* name;
    std::optional<string> role;
    uint32_t roleFail;
    string managed;
    uint32_t managedFail;
    string policy;
    uint32_t policyFail;
    bool expectedEnabled;
    std::vector<string> expectedCalls;
    bool expectEntry;
};
void PrintTo(const GateCase& c, std::ostream* os) {
    *os << c.name;
}

using GateFunction = ErrlEntry* (*)(bool&);

class Gate : public cimptest::PlatformFixture,
             public ::testing::WithParamInterface<std::tuple<GateFunction, GateCase>> {
  protected:
    void arrange(const GateCase& c) {
        if (c.role) {
            setRegistry(kRoleKey, *c.role);
        }
        if (c.roleFail != 0) {
            failRegistry(kRoleKey, c.roleFail);
        }
        setManaged(c.managed);
        if (c.managedFail != 0) {
            failManaged(c.managedFail);
        }
        setPolicy(c.policy);
        if (c.policyFail != 0) {
            failPolicy(c.policyFail);
        }
    }
};

TEST_P(Gate, DecidesInOrderAndStopsAtFirstNo) {
    const GateFunction gate = std::get<0>(GetParam());
    const GateCase& c = std::get<1>(GetParam());
    arrange(c);
    cimpsim::Capture capture;

    // Preset to the opposite, so a path that forgets to write the flag shows.
    bool enabled = !c.expectedEnabled;
    EntryPtr entry(gate(enabled));

    EXPECT_EQ(enabled, c.expectedEnabled);
    EXPECT_EQ(entry != nullptr, c.expectEntry);
    const uint32_t failCode = c.roleFail | c.managedFail | c.policyFail;
    if (entry != nullptr && failCode != 0) {
        EXPECT_EQ(entry->getRC(), failCode);
    }
    EXPECT_EQ(capture.calls(), c.expectedCalls);
    const std::vector<string> exitArgs = {cimptest::hexText(entry ? entry->getRC() : 0),
                                          c.expectedEnabled ? "1" : "0"};
    EXPECT_EQ(cimptest::lastTraceArgs(capture), exitArgs);
    // Entry and exit, one more where the gate closed or failed, and the wrapper's own two.
    const size_t expectedTraces =
        (c.expectedEnabled ? 2 : 3) + (gate == &cimpQueryCimEnabled ? 0 : 2);
    EXPECT_EQ(capture.traces().size(), expectedTraces);
    cimptest::expectOnlyCreated(capture);
}

const string kRole1(1, '\x01');

INSTANTIATE_TEST_SUITE_P(
    Platform, Gate,
    ::testing::Combine(
        ::testing::Values(&cimpQueryCimEnabled, &cimpQueryTovPassthroughEnabled),
        ::testing::Values(
            GateCase{
                "Open", kRole1, 0, "0", 0, "0", 0, true, {kReadRole, kAskDrax, kAskRmgr}, false},
            GateCase{"RoleZero", string(1, '\0'), 0, "0", 0, "0", 0, false, {kReadRole}, false},
            GateCase{"RoleTwo", string(1, '\x02'), 0, "0", 0, "0", 0, false, {kReadRole}, false},
            // An empty value leaves the cleared role byte: closed, not failed.
            GateCase{"RoleEmpty", string(), 0, "0", 0, "0", 0, false, {kReadRole}, false},
            // Only the first byte is the role.
            GateCase{"RoleLongValue",
                     string("\x01\x07\x07", 3),
                     0,
                     "0",
                     0,
                     "0",
                     0,
                     true,
                     {kReadRole, kAskDrax, kAskRmgr},
                     false},
            GateCase{"RoleReadFails", kRole1, 0x4711, "0", 0, "0", 0, false, {kReadRole}, true},
            GateCase{"RoleMissing", std::nullopt, 0, "0", 0, "0", 0, false, {kReadRole}, true},
            GateCase{"Managed", kRole1, 0, "1", 0, "0", 0, false, {kReadRole, kAskDrax}, false},
            GateCase{"ManagedHighBit",
                     kRole1,
                     0,
                     "0x80000000",
                     0,
                     "0",
                     0,
                     false,
                     {kReadRole, kAskDrax},
                     false},
            GateCase{"ManagedQueryFails",
                     kRole1,
                     0,
                     "0",
                     0x2222,
                     "0",
                     0,
                     false,
                     {kReadRole, kAskDrax},
                     true},
            GateCase{"PolicyEnabled",
                     kRole1,
                     0,
                     "0",
                     0,
                     "1",
                     0,
                     false,
                     {kReadRole, kAskDrax, kAskRmgr},
                     false},
            // A service that answers success without setting the flag keeps the gate closed.
            GateCase{"PolicyUnanswered",
                     kRole1,
                     0,
                     "0",
                     0,
                     "",
                     0,
                     false,
                     {kReadRole, kAskDrax, kAskRmgr},
                     false},
            GateCase{"PolicyQueryFails",
                     kRole1,
                     0,
                     "0",
                     0,
                     "0",
                     0x3333,
                     false,
                     {kReadRole, kAskDrax, kAskRmgr},
                     true})),
    [](const ::testing::TestParamInfo<std::tuple<GateFunction, GateCase>>& info) {
        const bool cim = std::get<0>(info.param) == &cimpQueryCimEnabled;
        return string(cim ? "Cim_" : "TovPassthrough_") + std::get<1>(info.param).name;
    });

}  // namespace
