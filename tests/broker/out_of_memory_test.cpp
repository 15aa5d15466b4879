// Broker functions that run out of memory answer a status; no exception reaches their C caller.
// This program replaces the global operator new (failing_new.h) so that one chosen allocation
// fails: each call is repeated with its 1st, 2nd, ... allocation failing until it runs through
// untouched.
#include <functional>

#include "broker_test_fixture.h"
#include "tests/support/failing_new.h"

namespace cimbroker {
namespace {

class OutOfMemory : public BrokerTest {
  protected:
    // Runs `call` with its Nth allocation failing, for N from 1 until none fails, and checks every
    // status it leaves in the one it is handed: OK, or CMPI_RC_ERR_FAILED saying `service` ran out
    // of memory. Answers how many allocations failed.
    int sweep(const char* service, const std::function<void(CMPIStatus*)>& call) {
        int failures = 0;
        for (int n = 1; n < 500; ++n) {
            CMPIStatus status{};
            cimptest::failAllocation(n);
            call(&status);
            const bool failed = cimptest::allocationsMade() >= n;
            cimptest::failAllocation(0);
            if (!failed) {
                EXPECT_EQ(status.rc, CMPI_RC_OK) << service;
                return failures;
            }
            ++failures;
            EXPECT_TRUE(status.rc == CMPI_RC_OK || status.rc == CMPI_RC_ERR_FAILED)
                << service << " allocation " << n << ": rc " << status.rc;
            if (status.rc == CMPI_RC_ERR_FAILED) {
                EXPECT_EQ(toStdString(status.msg), std::string(service) + ": out of memory");
            }
        }
        ADD_FAILURE() << service << " never ran through";
        return failures;
    }
};

TEST_F(OutOfMemory, ObjectCreationPropertiesPathTextEnumerationAndResultsAnswerAStatus) {
    CMPIObjectPath* op = path("Vesk_CEC");
    addChars(op, "Name", "n");
    CMPIInstance* inst = instance(op);
    Result result(runtime);
    CMPIArray* paths = CMNewArray(mb, 1, CMPI_ref, nullptr);
    CMSetArrayElementAt(paths, 0, &op, CMPI_ref);
    CMPIEnumeration* en = runtime.newEnumeration(paths, nullptr);
    const std::pair<const char*, std::function<void(CMPIStatus*)>> calls[] = {
        {"newInstance", [&](CMPIStatus* rc) { CMNewInstance(mb, op, rc); }},
        {"newObjectPath", [&](CMPIStatus* rc) { CMNewObjectPath(mb, "root/x", "C", rc); }},
        {"setProperty",
         [&](CMPIStatus* rc) { *rc = CMSetProperty(inst, "Caption", "a caption", CMPI_chars); }},
        {"addKey",
         [&](CMPIStatus* rc) { *rc = CMAddKey(op, "CreationClassName", "Vesk_CEC", CMPI_chars); }},
        {"toString", [&](CMPIStatus* rc) { mb->eft->toString(mb, op, rc); }},
        {"getObjectPath", [&](CMPIStatus* rc) { CMGetObjectPath(inst, rc); }},
        {"toArray", [&](CMPIStatus* rc) { CMToArray(en, rc); }},
        {"returnInstance", [&](CMPIStatus* rc) { *rc = CMReturnInstance(result.cmpi(), inst); }},
        {"returnObjectPath", [&](CMPIStatus* rc) { *rc = CMReturnObjectPath(result.cmpi(), op); }},
    };
    for (const auto& [service, call] : calls) {
        EXPECT_GT(sweep(service, call), 0) << service << " allocates nothing to fail";
    }
}

TEST_F(OutOfMemory, WithNoMemoryEvenForAMessageTheStatusStillSaysFailed) {
    CMPIObjectPath* op = path("Vesk_CEC");
    CMPIStatus rc{};
    CMPIInstance* inst = instance(op);
    cimptest::failAllocation(1, true);
    CMPIInstance* made = CMNewInstance(mb, op, &rc);
    const CMPIStatus set = CMSetProperty(inst, "Caption", "c", CMPI_chars);
    cimptest::failAllocation(0);
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_FAILED);
    EXPECT_EQ(rc.msg, nullptr);
    EXPECT_EQ(set.rc, CMPI_RC_ERR_FAILED);
}

}  // namespace
}  // namespace cimbroker
