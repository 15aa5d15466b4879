// The call probe the provider tests use to reach error paths and to check call orders: every call
// is told, with its qualifier, and may be answered by an injected fault.
#include "broker_test_fixture.h"
#include "tests/support/call_probe.h"

namespace cimbroker {
namespace {

class CallProbeTest : public BrokerTest {
  protected:
    cimptest::CallProbe probe{runtime};
};

// A rule cleared before its call comes never fires.
TEST_F(CallProbeTest, NthCallFailsWithTheGivenCodeAndMessageOnlyOnce) {
    CMPIObjectPath* op = path("Vesk_CEC");
    probe.failNth("NEWINSTANCE", 2, CMPI_RC_ERR_ACCESS_DENIED, "denied");
    probe.failNth("newInstance", 4, CMPI_RC_ERR_FAILED, "cleared");

    CMPIStatus rc{};
    EXPECT_NE(CMNewInstance(mb, op, &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_OK);
    EXPECT_EQ(CMNewInstance(mb, op, &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_ACCESS_DENIED);
    EXPECT_EQ(toStdString(rc.msg), "denied");
    EXPECT_NE(CMNewInstance(mb, op, &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_OK);
    probe.clearFaults();
    EXPECT_NE(CMNewInstance(mb, op, &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_OK);
}

// "service:Name" hits only calls naming that key or property; a plain rule counts them all.
TEST_F(CallProbeTest, QualifiedRuleHitsOnlyItsNameAndPlainRuleCountsAll) {
    CMPIInstance* inst = instance(path("Vesk_CEC"));
    probe.failNth("setProperty:Name", 1, CMPI_RC_ERR_FAILED, "no name");
    EXPECT_EQ(CMSetProperty(inst, "Other", "o", CMPI_chars).rc, CMPI_RC_OK);
    EXPECT_EQ(CMSetProperty(inst, "name", "n", CMPI_chars).rc, CMPI_RC_ERR_FAILED);
    EXPECT_EQ(namesOf(propertiesOf(inst)), std::vector<std::string>{"Other"});

    CMPIObjectPath* op = path("Vesk_CEC");
    probe.failNth("addKey", 2, CMPI_RC_ERR_FAILED, "second key");
    addChars(op, "A", "a");
    EXPECT_EQ(CMAddKey(op, "B", "b", CMPI_chars).rc, CMPI_RC_ERR_FAILED);
    EXPECT_EQ(CMGetKeyCount(op, nullptr), 1u);
}

TEST_F(CallProbeTest, EmptyAnswersComeWithOkAndGettersAndResultsFailToo) {
    probe.nullNth("newObjectPath", 1);
    probe.nullNth("getKeyCount", 1);
    CMPIStatus rc{CMPI_RC_ERR_FAILED, nullptr};
    EXPECT_EQ(CMNewObjectPath(mb, "root", "A", &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_OK);

    CMPIObjectPath* op = path("A");
    addChars(op, "K", "v");
    EXPECT_EQ(CMGetKeyCount(op, &rc), 0u);
    EXPECT_EQ(rc.rc, CMPI_RC_OK);
    EXPECT_EQ(CMGetKeyCount(op, &rc), 1u);

    probe.failNth("getKey", 1, CMPI_RC_ERR_FAILED, "lost");
    probe.nullNth("setElementAt", 1);
    probe.failNth("returnDone", 1, CMPI_RC_ERR_FAILED, "closed");
    EXPECT_TRUE(CMIsNullValue(CMGetKey(op, "K", &rc)));
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_FAILED);
    CMPIArray* array = CMNewArray(mb, 1, CMPI_uint16, nullptr);
    CMPIUint16 value = 14;
    EXPECT_EQ(CMSetArrayElementAt(array, 0, &value, CMPI_uint16).rc, CMPI_RC_OK);
    EXPECT_TRUE(CMIsNullValue(CMGetArrayElementAt(array, 0, nullptr)));
    Result result(runtime);
    EXPECT_EQ(CMReturnDone(result.cmpi()).rc, CMPI_RC_ERR_FAILED);
    EXPECT_EQ(result.doneCount(), 0);
}

TEST_F(BrokerTest, ProbeIsToldTheSequenceWithQualifiedNamesFromItsInstallation) {
    path("A");
    cimptest::CallProbe probe(runtime);
    Result result(runtime);
    CMPIObjectPath* op = path("Vesk_TOvPassthru");
    addChars(op, "Name", "svc");
    CMPIInstance* inst = instance(op);
    setChars(inst, "Name", "svc");
    CMClassPathIsA(mb, op, "CIM_Service", nullptr);
    CMReturnInstance(result.cmpi(), inst);
    CMReturnDone(result.cmpi());

    EXPECT_EQ(probe.names(), (std::vector<std::string>{
                                 "newObjectPath", "addKey:Name", "newInstance", "setProperty:Name",
                                 "classPathIsA", "returnInstance", "returnDone"}));
    EXPECT_EQ(probe.count("setproperty"), 1u);
    EXPECT_EQ(probe.count("setProperty:Other"), 0u);
}

}  // namespace
}  // namespace cimbroker
