#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "tests/model/model_harness.h"

namespace cimptest {
namespace {

using std::string;

const Identity kIdentities[] = {
    {"Example", "9119-MHE", string("10ABCDE\0\0\0\0\0", 12), "9119", "MHE", "10ABCDE"},
    {"ShortSerial", "8286-42A", string("12345\0\0\0\0\0\0\0", 12), "8286", "42A", "12345"},
    {"TwelveByteSerial", "9080-HEX", "ABCDEFGHIJKL", "9080", "HEX", "ABCDEFG"},
};

struct BuilderCase {
    const char* name;
    Builder builder;
    // Each identity read is two registry reads; nothing is cached between them.
    int identityReads;
};

void PrintTo(const BuilderCase& c, std::ostream* os) {
    *os << c.name;
}

const BuilderCase kBuilders[] = {
    {"CecPath", Builder::CecPath, 1},         {"CecInstance", Builder::CecInstance, 2},
    {"TovPath", Builder::TovPath, 1},         {"TovInstance", Builder::TovInstance, 2},
    {"AssocPath", Builder::AssocPath, 2},     {"AssocInstance", Builder::AssocInstance, 4},
    {"PkgPath", Builder::PkgPath, 1},         {"PkgInstance", Builder::PkgInstance, 2},
    {"PhysPkgPath", Builder::PhysPkgPath, 2}, {"PhysPkgInstance", Builder::PhysPkgInstance, 4},
};

class BuildersOnGoodPlatform
    : public ModelTest,
      public ::testing::WithParamInterface<std::tuple<Identity, BuilderCase>> {};

TEST_P(BuildersOnGoodPlatform, HandOutCompleteObject) {
    const Identity& id = std::get<0>(GetParam());
    const BuilderCase& c = std::get<1>(GetParam());
    useIdentity(id);
    cimpsim::Capture capture;

    const Outcome out = build(c.builder, capture);

    EXPECT_TRUE(out.object);
    EXPECT_EQ(out.rc, 0u);
    EXPECT_EQ(out.rendered, expected(c.builder, id));
    if (!out.message.empty()) {
        EXPECT_EQ(out.message, "<none>");
    }
    int typeModelReads = 0;
    for (const string& call : capture.calls()) {
        typeModelReads += call == "UtilReg::read svpd/Raw_MachineTypeModel" ? 1 : 0;
    }
    EXPECT_EQ(typeModelReads, c.identityReads);
    EXPECT_TRUE(capture.errl().empty());
}

INSTANTIATE_TEST_SUITE_P(Identities, BuildersOnGoodPlatform,
                         ::testing::Combine(::testing::ValuesIn(kIdentities),
                                            ::testing::ValuesIn(kBuilders)),
                         [](const auto& info) {
                             return string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

}  // namespace
}  // namespace cimptest
