// Failure injection and the call log, the tools provider tests use to reach error paths and to
// check call orders.
#include <stdexcept>

#include "broker_test_fixture.h"

namespace cimbroker {
namespace {

using FaultsTest = BrokerTest;

TEST_F(FaultsTest, NthCallFailsWithTheGivenCodeAndMessageOnlyOnce) {
    CMPIObjectPath* op = path("Vesk_CEC");
    CMNewInstance(mb, op, nullptr);  // before the rule: not counted
    runtime.faults().failNth("NEWINSTANCE", 2, CMPI_RC_ERR_ACCESS_DENIED, "denied");

    CMPIStatus rc{};
    EXPECT_NE(CMNewInstance(mb, op, &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_OK);
    EXPECT_EQ(CMNewInstance(mb, op, &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_ACCESS_DENIED);
    EXPECT_EQ(toStdString(rc.msg), "denied");
    EXPECT_NE(CMNewInstance(mb, op, &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_OK);
}

// "service:Name" hits only calls naming that key or property; a plain rule counts them all.
TEST_F(FaultsTest, QualifiedRuleHitsOnlyItsNameAndPlainRuleCountsAll) {
    CMPIInstance* inst = instance(path("Vesk_CEC"));
    runtime.faults().failNth("setProperty:Name", 1, CMPI_RC_ERR_FAILED, "no name");
    EXPECT_EQ(CMSetProperty(inst, "Other", "o", CMPI_chars).rc, CMPI_RC_OK);
    EXPECT_EQ(CMSetProperty(inst, "name", "n", CMPI_chars).rc, CMPI_RC_ERR_FAILED);
    EXPECT_EQ(namesOf(propertiesOf(inst)), std::vector<std::string>{"Other"});

    CMPIObjectPath* op = path("Vesk_CEC");
    runtime.faults().failNth("addKey", 2, CMPI_RC_ERR_FAILED, "second key");
    addChars(op, "A", "a");
    EXPECT_EQ(CMAddKey(op, "B", "b", CMPI_chars).rc, CMPI_RC_ERR_FAILED);
    EXPECT_EQ(CMGetKeyCount(op, nullptr), 1u);
}

TEST_F(FaultsTest, NullRuleAnswersAnEmptyValueWithOk) {
    runtime.faults().nullNth("newObjectPath", 1);
    runtime.faults().nullNth("getKeyCount", 1);
    CMPIStatus rc{CMPI_RC_ERR_FAILED, nullptr};
    EXPECT_EQ(CMNewObjectPath(mb, "root", "A", &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_OK);

    CMPIObjectPath* op = path("A");
    addChars(op, "K", "v");
    EXPECT_EQ(CMGetKeyCount(op, &rc), 0u);
    EXPECT_EQ(rc.rc, CMPI_RC_OK);
    EXPECT_EQ(CMGetKeyCount(op, &rc), 1u);
}

TEST_F(FaultsTest, GettersAndResultCallsFailToo) {
    CMPIObjectPath* op = path("A");
    addChars(op, "K", "v");
    runtime.faults().failNth("getKey", 1, CMPI_RC_ERR_FAILED, "lost");
    runtime.faults().nullNth("setElementAt", 1);
    runtime.faults().failNth("returnDone", 1, CMPI_RC_ERR_FAILED, "closed");

    CMPIStatus rc{};
    const CMPIData key = CMGetKey(op, "K", &rc);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_FAILED);
    EXPECT_TRUE(CMIsNullValue(key));

    CMPIArray* array = CMNewArray(mb, 1, CMPI_uint16, nullptr);
    CMPIUint16 value = 14;
    EXPECT_EQ(CMSetArrayElementAt(array, 0, &value, CMPI_uint16).rc, CMPI_RC_OK);
    EXPECT_TRUE(CMIsNullValue(CMGetArrayElementAt(array, 0, nullptr)));

    Result result(runtime);
    EXPECT_EQ(CMReturnDone(result.cmpi()).rc, CMPI_RC_ERR_FAILED);
    EXPECT_EQ(result.doneCount(), 0);
}

TEST(FaultPlan, RulesOnOneServiceCountIndependently) {
    FaultPlan plan;
    plan.failNth("getKey", 1, CMPI_RC_ERR_FAILED, "first");
    plan.failNth("getKey", 3, CMPI_RC_ERR_NOT_FOUND, "third");
    EXPECT_EQ(plan.consult("getKey", "")->message, "first");
    EXPECT_FALSE(plan.consult("getKey", "").has_value());
    EXPECT_EQ(plan.consult("GETKEY", "")->rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_FALSE(plan.consult("getKey", "").has_value());
    EXPECT_TRUE(plan.armed());
}

TEST_F(FaultsTest, ClearRemovesRulesAndBadCountsAreRefused) {
    runtime.faults().failNth("newString", 1, CMPI_RC_ERR_FAILED, "x");
    runtime.faults().clear();
    EXPECT_NE(CMNewString(mb, "s", nullptr), nullptr);
    EXPECT_THROW(runtime.faults().failNth("newString", 0, CMPI_RC_ERR_FAILED, "x"),
                 std::invalid_argument);
}

using CallLogTest = BrokerTest;

TEST_F(CallLogTest, RecordsTheSequenceWithQualifiedNamesOnceEnabled) {
    path("A");
    EXPECT_TRUE(runtime.calls().names().empty());
    runtime.calls().enable(true);
    Result result(runtime);
    CMPIObjectPath* op = path("Vesk_TOvPassthru");
    addChars(op, "Name", "svc");
    CMPIInstance* inst = instance(op);
    setChars(inst, "Name", "svc");
    CMClassPathIsA(mb, op, "CIM_Service", nullptr);
    CMReturnInstance(result.cmpi(), inst);
    CMReturnDone(result.cmpi());

    EXPECT_EQ(
        runtime.calls().names(),
        (std::vector<std::string>{"newObjectPath", "addKey:Name", "newInstance", "setProperty:Name",
                                  "classPathIsA", "returnInstance", "returnDone"}));
    EXPECT_EQ(runtime.calls().count("setproperty"), 1u);
    EXPECT_EQ(runtime.calls().count("setProperty:Other"), 0u);
    runtime.calls().clear();
    EXPECT_TRUE(runtime.calls().names().empty());
}

TEST_F(CallLogTest, ReadersNeitherLogNorTripFaults) {
    CMPIObjectPath* op = path("A");
    addChars(op, "K", "v");
    runtime.calls().enable(true);
    runtime.faults().failNth("getKeyAt", 1, CMPI_RC_ERR_FAILED, "x");

    EXPECT_EQ(keysOf(op).size(), 1u);
    EXPECT_EQ(pathToString(op), "root/orvcim:A.K=\"v\"");
    EXPECT_TRUE(runtime.calls().names().empty());
    CMPIStatus rc{};
    CMGetKeyAt(op, 0, nullptr, &rc);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_FAILED);
}

}  // namespace
}  // namespace cimbroker
