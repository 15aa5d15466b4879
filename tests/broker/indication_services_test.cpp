// What an indication provider asks of the broker: delivery to the host's sink, its own threads
// attached and detached, and the select expressions of the filter calls.
#include <string>
#include <thread>
#include <vector>

#include "broker_test_fixture.h"

namespace cimbroker {
namespace {

// Keeps what it was handed and answers `answer`.
class RecordingSink : public IndicationSink {
  public:
    CMPIStatus deliver(const char* nameSpace, const CMPIInstance* indication) override {
        nameSpaces.push_back(nameSpace);
        classes.push_back(
            toStdString(CMGetClassName(CMGetObjectPath(indication, nullptr), nullptr)));
        return answer;
    }

    std::vector<std::string> nameSpaces;
    std::vector<std::string> classes;
    CMPIStatus answer{CMPI_RC_OK, nullptr};
};

class IndicationServicesTest : public BrokerTest {};

TEST_F(IndicationServicesTest, DeliveryReachesTheSinkOnceOneIsSet) {
    const CMPIContext* ctx = scope.context();
    CMPIInstance* alert = instance(path("Vesk_AlertIndication"));
    EXPECT_EQ(CBDeliverIndication(mb, ctx, "root/orvcim", alert).rc, CMPI_RC_ERR_NOT_SUPPORTED);

    RecordingSink sink;
    runtime.setIndicationSink(&sink);
    EXPECT_EQ(CBDeliverIndication(mb, ctx, "root/orvcim", alert).rc, CMPI_RC_OK);
    EXPECT_EQ(sink.nameSpaces, std::vector<std::string>{"root/orvcim"});
    EXPECT_EQ(sink.classes, std::vector<std::string>{"Vesk_AlertIndication"});

    sink.answer = {CMPI_RC_ERR_FAILED, nullptr};
    EXPECT_EQ(CBDeliverIndication(mb, ctx, "root/orvcim", alert).rc, CMPI_RC_ERR_FAILED);

    // Refused before the sink: no namespace, or no instance of this broker.
    Runtime other;
    RequestScope otherScope(other);
    CMPIInstance* foreign = CMNewInstance(
        other.broker(), CMNewObjectPath(other.broker(), "root/orvcim", "X", nullptr), nullptr);
    EXPECT_EQ(CBDeliverIndication(mb, ctx, nullptr, alert).rc, CMPI_RC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(CBDeliverIndication(mb, ctx, "root/orvcim", foreign).rc,
              CMPI_RC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(sink.classes.size(), 2u);

    runtime.setIndicationSink(nullptr);
    EXPECT_EQ(CBDeliverIndication(mb, ctx, "root/orvcim", alert).rc, CMPI_RC_ERR_NOT_SUPPORTED);
}

// A thread that attaches for each piece of work keeps nothing of it after detaching, and nothing
// reaches the fallback arena: the live objects after many rounds are those before.
TEST_F(IndicationServicesTest, WhatAnAttachedThreadMakesIsFreedAtDetach) {
    CMPIContext* threadContext = CBPrepareAttachThread(mb, scope.context());
    ASSERT_NE(threadContext, nullptr);
    const size_t before = runtime.liveObjects();
    std::thread provider([&] {
        ASSERT_EQ(CBAttachThread(mb, threadContext).rc, CMPI_RC_OK);
        for (int round = 0; round < 50; ++round) {
            CMPIContext* work = CBPrepareAttachThread(mb, threadContext);
            ASSERT_EQ(CBAttachThread(mb, work).rc, CMPI_RC_OK);
            CMPIObjectPath* op = CMNewObjectPath(mb, "root/orvcim", "Vesk_CEC", nullptr);
            CMAddKey(op, "Name", "n", CMPI_chars);
            CMNewInstance(mb, op, nullptr);
            CMNewString(mb, "made while attached", nullptr);
            ASSERT_EQ(CBDetachThread(mb, work).rc, CMPI_RC_OK);
        }
        EXPECT_EQ(CBDetachThread(mb, threadContext).rc, CMPI_RC_OK);
    });
    provider.join();
    EXPECT_EQ(runtime.liveObjects(), before - 1);  // the thread's context is gone too
}

// Detaching while a newer request scope is open leaves that scope working.
TEST_F(IndicationServicesTest, DetachingUnderANewerScopeKeepsTheScope) {
    CMPIContext* threadContext = CBPrepareAttachThread(mb, scope.context());
    ASSERT_EQ(CBAttachThread(mb, threadContext).rc, CMPI_RC_OK);
    {
        RequestScope inner(runtime);
        ASSERT_EQ(CBDetachThread(mb, threadContext).rc, CMPI_RC_OK);
        CMNewString(mb, "in the inner scope", nullptr);
        EXPECT_EQ(inner.liveObjects(), 1u);
    }
    const size_t outer = scope.liveObjects();
    CMNewString(mb, "in the outer scope", nullptr);
    EXPECT_EQ(scope.liveObjects(), outer + 1);
}

TEST_F(IndicationServicesTest, ASelectExpressionAnswersItsQuery) {
    const char* query = "SELECT * FROM Vesk_AlertIndication WHERE PerceivedSeverity > 2";
    SelectExpression filter(runtime, query, "WQL");
    CMPIStatus rc{};
    EXPECT_EQ(toStdString(CMGetSelExpString(filter.cmpi(), &rc)), query);
    EXPECT_EQ(rc.rc, CMPI_RC_OK);
    EXPECT_EQ(toStdString(mb->eft->getType(mb, filter.cmpi(), nullptr)), "CMPISelectExp");

    // A provider keeps a clone beyond the call and releases it.
    CMPISelectExp* kept = CMClone(filter.cmpi(), &rc);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(toStdString(CMGetSelExpString(kept, nullptr)), query);
    EXPECT_EQ(CMRelease(kept).rc, CMPI_RC_OK);

    CMPIInstance* alert = instance(path("Vesk_AlertIndication"));
    CMEvaluateSelExp(filter.cmpi(), alert, &rc);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_NOT_SUPPORTED);
    EXPECT_EQ(CMGetDoc(filter.cmpi(), &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_NOT_SUPPORTED);
}

}  // namespace
}  // namespace cimbroker
