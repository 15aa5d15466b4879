// What survives a restart of the daemon with a state folder: filters, permanent destinations,
// their subscriptions and the service's settings; and what a damaged state file costs.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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

TEST_F(SubscriptionPersistenceTest, PermanentSubscriptionsAndTheServiceSettingsSurviveARestart) {
    const ObjectName f = filter("pywbemfilter:m:f", "SELECT * FROM CIM_AlertIndication");
    const ObjectName kept = destination("kept", "http://127.0.0.1:5990");
    const ObjectName transient = destination("transient", "http://127.0.0.1:5991", "3");
    const ObjectName s = subscription(f, kept);
    subscription(f, transient);
    ASSERT_TRUE(modify(s, {text("SubscriptionState", "4", "uint16")}).isOk());
    ASSERT_TRUE(modify(serviceName(), {text("DeliveryRetryAttempts", "6", "uint16")}).isOk());
    std::ostringstream file;
    file << std::ifstream(stateFile()).rdbuf();
    EXPECT_NE(file.str().find("instance of CIM_IndicationFilter as $filter1"), std::string::npos)
        << file.str();

    restart();
    EXPECT_EQ(enumerate("CIM_IndicationFilter").size(), 1u);
    const std::vector<ObjectName> destinations = enumerate("CIM_ListenerDestination");
    ASSERT_EQ(destinations.size(), 1u);
    EXPECT_TRUE(cimhost::sameName(destinations[0], kept));
    ASSERT_EQ(enumerate("CIM_IndicationSubscription").size(), 1u);
    EXPECT_EQ(get(s)["SubscriptionState"], "4");
    EXPECT_EQ(get(f)["Query"], "SELECT * FROM CIM_AlertIndication");
    EXPECT_EQ(get(serviceName())["DeliveryRetryAttempts"], "6");
    EXPECT_EQ(delivery_.retryPolicy().attempts, 6u);
    EXPECT_TRUE(log_.str().empty()) << log_.str();
}

TEST_F(SubscriptionPersistenceTest, ADamagedStateFileIsReportedAndTheServiceStartsWithout) {
    writeState("instance of CIM_IndicationFilter {\n    Query = \n");
    restart();
    EXPECT_NE(log_.str().find("indications.mof:"), std::string::npos) << log_.str();
    EXPECT_TRUE(enumerate("CIM_IndicationFilter").empty());
    filter("after", "SELECT * FROM CIM_AlertIndication");  // and it keeps working
}

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
