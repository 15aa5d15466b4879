// The broker's own services: complete function tables, classPathIsA from the hierarchy, the
// up-calls this broker refuses, and the type, text and message services.
#include <cstring>
#include <tuple>

#include "broker_test_fixture.h"

namespace cimbroker {
namespace {

using BrokerServicesTest = BrokerTest;

// Every slot of a table, read as raw words: a table filled in the standard's order has no null
// function slot. The leading non-function fields are skipped by `skip`.
template <typename Table>
void expectNoNullSlot(const Table* table, size_t skipBytes, const char* name) {
    ASSERT_NE(table, nullptr) << name;
    const size_t slots = (sizeof(Table) - skipBytes) / sizeof(void (*)());
    const char* base = reinterpret_cast<const char*>(table) + skipBytes;
    for (size_t i = 0; i < slots; ++i) {
        void (*slot)();
        std::memcpy(&slot, base + i * sizeof slot, sizeof slot);
        EXPECT_NE(slot, nullptr) << name << " slot " << i;
    }
}

TEST_F(BrokerServicesTest, EveryFunctionTableIsComplete) {
    expectNoNullSlot(mb->bft, offsetof(CMPIBrokerFT, prepareAttachThread), "CMPIBrokerFT");
    expectNoNullSlot(mb->eft, offsetof(CMPIBrokerEncFT, newInstance), "CMPIBrokerEncFT");
    expectNoNullSlot(mb->xft, offsetof(CMPIBrokerExtFT, resolveFileName), "CMPIBrokerExtFT");
    EXPECT_EQ(mb->bft->brokerVersion, 100u);

    CMPIObjectPath* op = path("A");
    CMPIInstance* inst = instance(op);
    CMPIArray* array = CMNewArray(mb, 1, CMPI_ref, nullptr);
    Result result(runtime);
    expectNoNullSlot(op->ft, offsetof(CMPIObjectPathFT, release), "CMPIObjectPathFT");
    expectNoNullSlot(inst->ft, offsetof(CMPIInstanceFT, release), "CMPIInstanceFT");
    expectNoNullSlot(array->ft, offsetof(CMPIArrayFT, release), "CMPIArrayFT");
    expectNoNullSlot(CMNewString(mb, "", nullptr)->ft, offsetof(CMPIStringFT, release),
                     "CMPIStringFT");
    expectNoNullSlot(result.cmpi()->ft, offsetof(CMPIResultFT, release), "CMPIResultFT");
    expectNoNullSlot(scope.context()->ft, offsetof(CMPIContextFT, release), "CMPIContextFT");
    expectNoNullSlot(CMNewArgs(mb, nullptr)->ft, offsetof(CMPIArgsFT, release), "CMPIArgsFT");
    expectNoNullSlot(CMNewDateTime(mb, nullptr)->ft, offsetof(CMPIDateTimeFT, release),
                     "CMPIDateTimeFT");
    expectNoNullSlot(runtime.newEnumeration(array, nullptr)->ft,
                     offsetof(CMPIEnumerationFT, release), "CMPIEnumerationFT");
}

// Unknown classes are only themselves; missing arguments are refused.
TEST_F(BrokerServicesTest, ClassPathIsAAnswersFromTheHierarchyIgnoringCase) {
    ClassHierarchy hierarchy;
    hierarchy.add("CIM_ManagedElement", "");
    hierarchy.add("CIM_LogicalElement", "CIM_ManagedElement");
    hierarchy.add("CIM_Service", "CIM_LogicalElement");
    hierarchy.add("Vesk_TOvPassthru", "CIM_Service");
    hierarchy.add("CIM_ServiceAvailableToElement", "");
    runtime.setClassHierarchy(hierarchy);
    const std::tuple<const char*, const char*, CMPIBoolean> cases[] = {
        {"Vesk_TOvPassthru", "Vesk_TOvPassthru", 1},
        {"Vesk_TOvPassthru", "CIM_ManagedElement", 1},
        {"vesk_tovpassthru", "cim_SERVICE", 1},
        {"CIM_Service", "Vesk_TOvPassthru", 0},
        {"Vesk_TOvPassthru", "CIM_ServiceAvailableToElement", 0},
        {"Unknown_Class", "unknown_class", 1},
        {"Unknown_Class", "CIM_ManagedElement", 0}};
    CMPIStatus rc{};
    for (const auto& c : cases) {
        EXPECT_EQ(CMClassPathIsA(mb, path(std::get<0>(c)), std::get<1>(c), &rc), std::get<2>(c))
            << std::get<0>(c) << " isa " << std::get<1>(c);
        EXPECT_EQ(rc.rc, CMPI_RC_OK);
    }
    EXPECT_EQ(CMClassPathIsA(mb, nullptr, "A", &rc), 0);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(CMClassPathIsA(mb, path("A"), nullptr, &rc), 0);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_INVALID_PARAMETER);
}

TEST(ClassHierarchy, ACycleEndsTheWalk) {
    ClassHierarchy hierarchy;
    hierarchy.add("A", "B");
    hierarchy.add("B", "A");
    EXPECT_TRUE(hierarchy.isA("A", "B"));
    EXPECT_FALSE(hierarchy.isA("A", "C"));
}

TEST_F(BrokerServicesTest, UpCallsAnswerNotSupportedWithAMessage) {
    CMPIObjectPath* op = path("Vesk_CEC");
    const CMPIContext* ctx = scope.context();
    CMPIStatus rc{};
    EXPECT_EQ(mb->bft->enumerateInstanceNames(mb, ctx, op, &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_NOT_SUPPORTED);
    EXPECT_NE(toStdString(rc.msg).find("enumerateInstanceNames"), std::string::npos);
    EXPECT_EQ(mb->bft->associators(mb, ctx, op, nullptr, nullptr, nullptr, nullptr, nullptr, &rc),
              nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_NOT_SUPPORTED);
    mb->bft->invokeMethod(mb, ctx, op, "m", nullptr, nullptr, &rc);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_NOT_SUPPORTED);
    EXPECT_EQ(CMNewSelectExp(mb, "select *", "WQL", nullptr, &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_NOT_SUPPORTED);
}

TEST_F(BrokerServicesTest, TypeAndTextServicesRecogniseEveryObject) {
    CMPIObjectPath* op = path("Vesk_CEC");
    addChars(op, "Name", "n");
    EXPECT_EQ(toStdString(mb->eft->getType(mb, op, nullptr)), "CMPIObjectPath");
    EXPECT_EQ(mb->eft->isOfType(mb, instance(op), "CMPIInstance", nullptr), 1);
    EXPECT_EQ(mb->eft->isOfType(mb, op, "CMPIInstance", nullptr), 0);
    EXPECT_EQ(toStdString(mb->eft->toString(mb, op, nullptr)), pathToString(op));

    CMPIStatus rc{};
    int notAnObject[4] = {};
    EXPECT_EQ(mb->eft->getType(mb, notAnObject, &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_INVALID_HANDLE);
}

// An insert of a type no CMFmt macro produces stops the filling there.
TEST_F(BrokerServicesTest, GetMessageFillsTheDefaultMessageUpToAnUnreadableInsert) {
    CMPIStatus rc{};
    CMPIString* text = CMGetMessage(mb, "ID1", "read $0 failed with $1", &rc,
                                    CMFmtArgs2(CMFmtChars("svpd"), CMFmtSint(-5)));
    EXPECT_EQ(rc.rc, CMPI_RC_OK);
    EXPECT_EQ(toStdString(text), "read svpd failed with -5");
    text = mb->eft->getMessage(mb, "ID2", "$0 then $1, $5 unused", &rc, 2, CMPI_uint32, 7UL,
                               CMPI_instance, nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_INVALID_DATA_TYPE);
    EXPECT_EQ(toStdString(text), "7 then $1, $5 unused");
}

TEST_F(BrokerServicesTest, LogAndTraceReachStderrOnlyWhenEchoed) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(CMLogMessage(mb, CMPI_SEV_INFO, "cimp", "quiet", nullptr).rc, CMPI_RC_OK);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    runtime.echoDiagnostics(true);
    ::testing::internal::CaptureStderr();
    CMTraceMessage(mb, CMPI_LEV_INFO, "cimp", "loud", nullptr);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("cimp: loud"), std::string::npos);
}

// Only a context of this broker can be attached.
TEST_F(BrokerServicesTest, AttachedThreadWorksOnItsOwnContextCopy) {
    const CMPIContext* ctx = scope.context();
    CMAddContextEntry(ctx, CMPIPrincipal, "admin", CMPI_chars);
    const size_t before = runtime.liveObjects();

    CMPIContext* threadContext = mb->bft->prepareAttachThread(mb, ctx);
    ASSERT_NE(threadContext, nullptr);
    CMAddContextEntry(ctx, CMPIRole, "later", CMPI_chars);
    ASSERT_EQ(mb->bft->attachThread(mb, threadContext).rc, CMPI_RC_OK);
    EXPECT_EQ(dataToString(CMGetContextEntry(threadContext, CMPIPrincipal, nullptr)), "admin");
    EXPECT_EQ(CMGetContextEntryCount(threadContext, nullptr), 1u);
    EXPECT_EQ(mb->bft->detachThread(mb, threadContext).rc, CMPI_RC_OK);
    // The copy is gone; what remains is the original's new entry's value string (its name is the
    // runtime's own).
    EXPECT_EQ(runtime.liveObjects(), before + 1);

    Runtime other;
    RequestScope otherScope(other);
    EXPECT_EQ(CBAttachThread(mb, otherScope.context()).rc, CMPI_RC_ERR_INVALID_HANDLE);
    EXPECT_EQ(CBAttachThread(mb, nullptr).rc, CMPI_RC_ERR_INVALID_HANDLE);
}

TEST_F(BrokerServicesTest, DateTimeObjectsCarryTheParsedTime) {
    CMPIStatus rc{};
    CMPIDateTime* dt = CMNewDateTimeFromChars(mb, "20000101010000.000000+060", &rc);
    ASSERT_EQ(rc.rc, CMPI_RC_OK);
    EXPECT_EQ(CMGetBinaryFormat(dt, nullptr), 946684800000000ULL);
    EXPECT_EQ(CMIsInterval(dt, nullptr), 0);
    EXPECT_EQ(CMNewDateTimeFromChars(mb, "yesterday", &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_INVALID_PARAMETER);
    CMPIDateTime* interval = CMNewDateTimeFromBinary(mb, 90061000001ULL, 1, &rc);
    EXPECT_EQ(CMIsInterval(interval, nullptr), 1);
    EXPECT_EQ(toStdString(CMGetStringFormat(interval, nullptr)), "00000001010101.000001:000");
}

TEST_F(BrokerServicesTest, OsServicesRunAThreadUnderAMutex) {
    CMPI_MUTEX_TYPE mutex = mb->xft->newMutex(0);
    ASSERT_NE(mutex, nullptr);
    struct Shared {
        const CMPIBrokerExtFT* xft;
        CMPI_MUTEX_TYPE mutex;
        int counter;
    } shared{mb->xft, mutex, 0};
    auto body = [](void* parm) -> void* {
        auto* s = static_cast<Shared*>(parm);
        s->xft->lockMutex(s->mutex);
        ++s->counter;
        s->xft->unlockMutex(s->mutex);
        return nullptr;
    };
    CMPI_THREAD_TYPE thread = mb->xft->newThread(body, &shared, 0);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(mb->xft->joinThread(thread, nullptr), 0);
    EXPECT_EQ(shared.counter, 1);
    mb->xft->destroyMutex(mutex);
}

}  // namespace
}  // namespace cimbroker
