// What a state file that no longer checks out costs at start: only the instances at fault, each
// logged by name or line. (What survives a restart, and a damaged file, the end-to-end state
// tests show through the daemon.)
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "tests/cimom/indication/indication_fixture.h"

namespace cimhosttest {
namespace {

// A fresh folder's parent for each test; the state folder beneath it is made by the store.
std::string freshStateDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "cimindication-state-XXXXXX").string();
    EXPECT_NE(::mkdtemp(&pattern[0]), nullptr);
    return pattern + "/state";
}

class SubscriptionPersistenceTest : public IndicationFixture {
  protected:
    SubscriptionPersistenceTest() : IndicationFixture({}, freshStateDir()) {}
    ~SubscriptionPersistenceTest() override {
        std::filesystem::remove_all(std::filesystem::path(folder_.dir()).parent_path());
    }

    void restart() {
        makeStore();
        cimbroker::RequestScope scope(runtime_);
        store_->load(runtime_.broker());
    }

    std::string stateFile() const { return folder_.dir() + "/indications.mof"; }
    void writeState(const std::string& text) const {
        std::filesystem::create_directories(folder_.dir());
        std::ofstream(stateFile()) << text;
    }
};

TEST_F(SubscriptionPersistenceTest, WhatCannotBeKeptAnyMoreIsLeftOutByName) {
    writeState(
        "instance of CIM_IndicationFilter as $good {\n"
        "    SystemCreationClassName = \"CIM_ComputerSystem\"; SystemName = \"testhost\";\n"
        "    CreationClassName = \"CIM_IndicationFilter\"; Name = \"good\";\n"
        "    Query = \"SELECT * FROM CIM_AlertIndication\"; QueryLanguage = \"WQL\";\n"
        "    SourceNamespaces = {\"root/orvcim\"};\n};\n"
        "instance of CIM_IndicationFilter {\n"
        "    Name = \"stale\"; Query = \"SELECT * FROM Vesk_Gone\"; QueryLanguage = \"WQL\";\n};\n"
        "instance of CIM_IndicationSubscription {\n"
        "    Filter = $good; Handler = $nowhere;\n};\n"
        "instance of CIM_Namespace {\n    Name = \"x\";\n};\n");
    restart();
    const std::string log = log_.str();
    for (const char* fault :
         {"CIM_IndicationFilter.Name=\"stale\" not kept: class Vesk_Gone does not exist in "
          "root/interop at position 15",
          "indications.mof:10: property Handler refers to $nowhere, not declared before",
          "indications.mof:13: instances of CIM_Namespace are not kept here"}) {
        EXPECT_NE(log.find(fault), std::string::npos) << fault << "\n" << log;
    }
    const std::vector<ObjectName> filters = enumerate("CIM_IndicationFilter");
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(get(filters[0])["Name"], "good");
}

}  // namespace
}  // namespace cimhosttest
