#include <gtest/gtest.h>

#include <string>

#include "tests/model/model_harness.h"

namespace cimptest {
namespace {

using std::string;

TEST_F(ModelTest, EveryBuilderHandsOutTheWholeObjectForEachIdentity) {
    const Identity identities[] = {
        {"Example", "9119-MHE", string("10ABCDE\0\0\0\0\0", 12), "9119", "MHE", "10ABCDE"},
        {"ShortSerial", "8286-42A", string("12345\0\0\0\0\0\0\0", 12), "8286", "42A", "12345"},
        {"TwelveByteSerial", "9080-HEX", "ABCDEFGHIJKL", "9080", "HEX", "ABCDEFG"},
    };
    // Each builder with the identity reads it makes; nothing is cached between them.
    const std::pair<Builder, int> builders[] = {
        {Builder::CecPath, 1},         {Builder::CecInstance, 2}, {Builder::TovPath, 1},
        {Builder::TovInstance, 2},     {Builder::AssocPath, 2},   {Builder::AssocInstance, 4},
        {Builder::PkgPath, 1},         {Builder::PkgInstance, 2}, {Builder::PhysPkgPath, 2},
        {Builder::PhysPkgInstance, 4},
    };
    for (const Identity& id : identities) {
        useIdentity(id);
        for (const auto& [builder, identityReads] : builders) {
            SCOPED_TRACE(string(id.name) + " builder " + std::to_string(static_cast<int>(builder)));
            cimpsim::Capture capture;

            const Outcome out = build(builder, capture);

            EXPECT_TRUE(out.object);
            EXPECT_EQ(out.rc, 0u);
            EXPECT_TRUE(out.message.empty() || out.message == "<none>") << out.message;
            EXPECT_EQ(out.rendered, expected(builder, id));
            const std::vector<string> calls = capture.calls();
            EXPECT_EQ(
                std::count(calls.begin(), calls.end(), "UtilReg::read svpd/Raw_MachineTypeModel"),
                identityReads);
            EXPECT_TRUE(capture.errl().empty());
        }
    }
}

}  // namespace
}  // namespace cimptest
