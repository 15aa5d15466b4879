// Checks the CMPI 1.0 facts a CIMOM relies on when it loads our provider: value codes, the
// layout of CMPIData/CMPIStatus, the slot of function-table members, and that the MI stub
// macros produce a working, C-callable factory.
#include <cstddef>
#include <cstring>

#include <gtest/gtest.h>

#include "cmpidt.h"
#include "cmpift.h"
#include "cmpimacs.h"

#include "cmpi_c_check.h"

// Slot number of a function-table member, counting the leading ftVersion as slot 0.
#define SLOT(type, member) (offsetof(type, member) / sizeof(void*))

namespace {

TEST(CmpiCodes, TypeCodes) {
    EXPECT_EQ(CMPI_boolean, 0x0002);
    EXPECT_EQ(CMPI_char16, 0x0003);
    EXPECT_EQ(CMPI_real32, 0x0008);
    EXPECT_EQ(CMPI_real64, 0x000C);
    EXPECT_EQ(CMPI_uint8, 0x0080);
    EXPECT_EQ(CMPI_uint16, 0x0090);
    EXPECT_EQ(CMPI_uint64, 0x00B0);
    EXPECT_EQ(CMPI_sint8, 0x00C0);
    EXPECT_EQ(CMPI_sint64, 0x00F0);
    EXPECT_EQ(CMPI_instance, 0x1000);
    EXPECT_EQ(CMPI_ref, 0x1100);
    EXPECT_EQ(CMPI_string, 0x1600);
    EXPECT_EQ(CMPI_chars, 0x1700);
    EXPECT_EQ(CMPI_dateTime, 0x1800);
    EXPECT_EQ(CMPI_ARRAY, 0x2000);
    EXPECT_EQ(CMPI_uint16A, 0x2090);
    EXPECT_EQ(CMPI_stringA, 0x3600);
    EXPECT_EQ(CMPI_refA, 0x3100);
}

TEST(CmpiCodes, ValueStatesAndFlags) {
    EXPECT_EQ(CMPI_goodValue, 0);
    EXPECT_EQ(CMPI_nullValue, 0x0100);
    EXPECT_EQ(CMPI_keyValue, 0x0200);
    EXPECT_EQ(CMPI_notFound, 0x0400);
    EXPECT_EQ(CMPI_badValue, 0x8000);
    EXPECT_EQ(CMPI_FLAG_LocalOnly | CMPI_FLAG_DeepInheritance | CMPI_FLAG_IncludeQualifiers |
                  CMPI_FLAG_IncludeClassOrigin,
              0xF);
    EXPECT_STREQ(CMPIInvocationFlags, "CMPIInvocationFlags");
    EXPECT_EQ(CMPICurrentVersion, 100);
}

TEST(CmpiCodes, ReturnCodes) {
    EXPECT_EQ(CMPI_RC_OK, 0);
    EXPECT_EQ(CMPI_RC_ERR_NOT_FOUND, 6);
    EXPECT_EQ(CMPI_RC_ERR_NOT_SUPPORTED, 7);
    EXPECT_EQ(CMPI_RC_ERR_TYPE_MISMATCH, 13);
    EXPECT_EQ(CMPI_RC_ERR_METHOD_NOT_FOUND, 17);
    EXPECT_EQ(CMPI_RC_DO_NOT_UNLOAD, 50);
    EXPECT_EQ(CMPI_RC_NEVER_UNLOAD, 51);
    EXPECT_EQ(CMPI_RC_ERR_INVALID_HANDLE, 60);
    EXPECT_EQ(CMPI_RC_ERR_INVALID_DATA_TYPE, 61);
    EXPECT_EQ(CMPI_RC_ERROR_SYSTEM, 100);
    EXPECT_EQ(CMPI_RC_ERROR, 200);
}

TEST(CmpiLayout, DataAndStatus) {
    if (sizeof(void*) != 8)
        GTEST_SKIP() << "expected sizes are for LP64";
    EXPECT_EQ(sizeof(CMPIValue), 16u);  // widest member: CMPIValuePtr {void*, CMPICount}
    EXPECT_EQ(offsetof(CMPIData, type), 0u);
    EXPECT_EQ(offsetof(CMPIData, state), 2u);
    EXPECT_EQ(offsetof(CMPIData, value), 8u);
    EXPECT_EQ(sizeof(CMPIData), 24u);
    EXPECT_EQ(offsetof(CMPIStatus, rc), 0u);
    EXPECT_EQ(offsetof(CMPIStatus, msg), 8u);
    EXPECT_EQ(sizeof(CMPIStatus), 16u);
    EXPECT_EQ(offsetof(CMPIBroker, xft), 24u);
    EXPECT_EQ(sizeof(CMPIBroker), 32u);
}

TEST(CmpiLayout, BrokerTableSlots) {
    EXPECT_EQ(offsetof(CMPIBrokerFT, brokerVersion), sizeof(unsigned int));
    EXPECT_EQ(SLOT(CMPIBrokerFT, brokerName), 1u);
    EXPECT_EQ(SLOT(CMPIBrokerFT, prepareAttachThread), 2u);
    EXPECT_EQ(SLOT(CMPIBrokerFT, deliverIndication), 5u);
    EXPECT_EQ(SLOT(CMPIBrokerFT, enumerateInstanceNames), 6u);
    EXPECT_EQ(SLOT(CMPIBrokerFT, associatorNames), 14u);
    EXPECT_EQ(SLOT(CMPIBrokerFT, getProperty), 19u);
    EXPECT_EQ(SLOT(CMPIBrokerEncFT, newInstance), 1u);
    EXPECT_EQ(SLOT(CMPIBrokerEncFT, classPathIsA), 10u);
    EXPECT_EQ(SLOT(CMPIBrokerEncFT, trace), 16u);
    EXPECT_EQ(SLOT(CMPIBrokerExtFT, signalCondition), 20u);
}

TEST(CmpiLayout, ObjectTableSlots) {
    EXPECT_EQ(SLOT(CMPIContextFT, addEntry), 6u);
    EXPECT_EQ(SLOT(CMPIResultFT, returnDone), 6u);
    EXPECT_EQ(SLOT(CMPIStringFT, getCharPtr), 3u);
    EXPECT_EQ(SLOT(CMPIArrayFT, setElementAt), 6u);
    EXPECT_EQ(SLOT(CMPIEnumerationFT, toArray), 5u);
    EXPECT_EQ(SLOT(CMPIInstanceFT, setPropertyFilter), 8u);
    EXPECT_EQ(SLOT(CMPIObjectPathFT, getKeyCount), 12u);
    EXPECT_EQ(SLOT(CMPIObjectPathFT, toString), 19u);
    EXPECT_EQ(SLOT(CMPIArgsFT, getArgCount), 6u);
    EXPECT_EQ(SLOT(CMPIDateTimeFT, isInterval), 5u);
    EXPECT_EQ(SLOT(CMPIPredicateFT, evaluateUsingAccessor), 4u);
}

TEST(CmpiLayout, MiTableSlots) {
    // ftVersion and miVersion share slot 0; miName is slot 1.
    EXPECT_EQ(SLOT(CMPIInstanceMIFT, miName), 1u);
    EXPECT_EQ(SLOT(CMPIInstanceMIFT, cleanup), 2u);
    EXPECT_EQ(SLOT(CMPIInstanceMIFT, modifyInstance), 7u);
    EXPECT_EQ(SLOT(CMPIInstanceMIFT, execQuery), 9u);
    EXPECT_EQ(SLOT(CMPIAssociationMIFT, associators), 3u);
    EXPECT_EQ(SLOT(CMPIAssociationMIFT, referenceNames), 6u);
    EXPECT_EQ(SLOT(CMPIMethodMIFT, invokeMethod), 3u);
    EXPECT_EQ(SLOT(CMPIIndicationMIFT, disableIndications), 8u);
}

TEST(CmpiLayout, CAndCxxAgree) {
    const cmpi_c_layout c = cmpi_c_check_layout();
    EXPECT_EQ(c.data_size, sizeof(CMPIData));
    EXPECT_EQ(c.data_value_offset, offsetof(CMPIData, value));
    EXPECT_EQ(c.status_size, sizeof(CMPIStatus));
    EXPECT_EQ(c.broker_size, sizeof(CMPIBroker));
    EXPECT_EQ(c.enc_class_path_is_a_offset, offsetof(CMPIBrokerEncFT, classPathIsA));
    EXPECT_EQ(c.assoc_reference_names_offset, offsetof(CMPIAssociationMIFT, referenceNames));
}

// A result that records what an MI sends through it.
struct RecordingResult {
    CMPIResult result;
    const CMPIObjectPath* returned = nullptr;
    bool done = false;
};

CMPIStatus recordObjectPath(const CMPIResult* r, const CMPIObjectPath* op) {
    reinterpret_cast<RecordingResult*>(r->hdl)->returned = op;
    CMReturn(CMPI_RC_OK);
}

CMPIStatus recordDone(const CMPIResult* r) {
    reinterpret_cast<RecordingResult*>(r->hdl)->done = true;
    CMReturn(CMPI_RC_OK);
}

TEST(CmpiMacros, AssociationStubBuiltInC) {
    CMPIBroker broker{};
    CMPIStatus rc{CMPI_RC_ERR_FAILED, nullptr};
    CMPIAssociationMI* mi = cmpi_c_check_Create_AssociationMI(&broker, nullptr, &rc);
    ASSERT_NE(mi, nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_OK);
    EXPECT_EQ(cmpi_c_check_broker(), &broker);
    EXPECT_EQ(mi->ft->ftVersion, 100);
    EXPECT_EQ(mi->ft->miVersion, 100);
    EXPECT_STREQ(mi->ft->miName, "associationcmpi_c_check");

    CMPIResultFT ft{};
    ft.returnObjectPath = recordObjectPath;
    ft.returnDone = recordDone;
    RecordingResult rec;
    rec.result.hdl = &rec;
    rec.result.ft = &ft;
    CMPIObjectPath op{};
    CMPIStatus st = mi->ft->references(mi, nullptr, &rec.result, &op, nullptr, nullptr, nullptr);
    EXPECT_EQ(st.rc, CMPI_RC_OK);
    EXPECT_EQ(st.msg, nullptr);
    EXPECT_EQ(rec.returned, &op);
    EXPECT_TRUE(rec.done);
    EXPECT_EQ(mi->ft->cleanup(mi, nullptr, 0).rc, CMPI_RC_DO_NOT_UNLOAD);
}

TEST(CmpiMacros, StringShortcutAndDataTests) {
    char text[] = "Vesk";
    CMPIString s{text, nullptr};
    EXPECT_STREQ(CMGetCharPtr(&s), "Vesk");
    EXPECT_FALSE(CMIsNullObject(&s));
    CMPIString empty{nullptr, nullptr};
    EXPECT_TRUE(CMIsNullObject(&empty));

    CMPIData d{};
    d.type = CMPI_uint16A;
    d.state = CMPI_keyValue;
    EXPECT_TRUE(CMIsArray(d));
    EXPECT_TRUE(CMIsKeyValue(d));
    EXPECT_FALSE(CMIsNullValue(d));

    CMPIStatus st{CMPI_RC_OK, &s};
    CMSetStatus(&st, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(st.rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(st.msg, nullptr);
}

}  // namespace
