// Checks the CMPI 1.0 facts a CIMOM relies on when it loads our provider: value codes, the
// layout of CMPIData/CMPIStatus and the slot of function-table members.
#include <cstddef>

#include <gtest/gtest.h>

#include "cmpidt.h"
#include "cmpift.h"

namespace {

// The values and places a CIMOM built against another CMPI 1.0 header set expects. Our broker and
// provider share our headers, so a wrong one there shows nowhere else.
struct Expected {
    const char* name;
    long actual, expected;
};
// clang-format off
#define CODE(name, value) Expected{#name, static_cast<long>(name), value}
#define AT(type, member, at) Expected{#type "." #member, static_cast<long>(offsetof(type, member)), at}
#define SLOT(type, member, slot) AT(type, member, (slot) * static_cast<long>(sizeof(void*)))
// clang-format on

TEST(CmpiCodes, MatchTheCmpi10Values) {
    const Expected codes[] = {
        // clang-format off
        CODE(CMPI_boolean, 0x0002), CODE(CMPI_char16, 0x0003), CODE(CMPI_real32, 0x0008),
        CODE(CMPI_real64, 0x000C), CODE(CMPI_uint8, 0x0080), CODE(CMPI_uint16, 0x0090),
        CODE(CMPI_uint64, 0x00B0), CODE(CMPI_sint8, 0x00C0), CODE(CMPI_sint64, 0x00F0),
        CODE(CMPI_instance, 0x1000), CODE(CMPI_ref, 0x1100), CODE(CMPI_string, 0x1600),
        CODE(CMPI_chars, 0x1700), CODE(CMPI_dateTime, 0x1800), CODE(CMPI_ARRAY, 0x2000),
        CODE(CMPI_uint16A, 0x2090), CODE(CMPI_stringA, 0x3600), CODE(CMPI_refA, 0x3100),
        CODE(CMPI_goodValue, 0), CODE(CMPI_nullValue, 0x0100), CODE(CMPI_keyValue, 0x0200),
        CODE(CMPI_notFound, 0x0400), CODE(CMPI_badValue, 0x8000), CODE(CMPICurrentVersion, 100),
        CODE(CMPI_RC_OK, 0), CODE(CMPI_RC_ERR_NOT_FOUND, 6), CODE(CMPI_RC_ERR_NOT_SUPPORTED, 7),
        CODE(CMPI_RC_ERR_TYPE_MISMATCH, 13), CODE(CMPI_RC_ERR_METHOD_NOT_FOUND, 17),
        CODE(CMPI_RC_DO_NOT_UNLOAD, 50), CODE(CMPI_RC_NEVER_UNLOAD, 51),
        CODE(CMPI_RC_ERR_INVALID_HANDLE, 60), CODE(CMPI_RC_ERR_INVALID_DATA_TYPE, 61),
        CODE(CMPI_RC_ERROR_SYSTEM, 100), CODE(CMPI_RC_ERROR, 200),
        CODE(CMPI_FLAG_LocalOnly | CMPI_FLAG_DeepInheritance | CMPI_FLAG_IncludeQualifiers |
             CMPI_FLAG_IncludeClassOrigin, 0xF),
        // clang-format on
    };
    for (const Expected& c : codes) {
        EXPECT_EQ(c.actual, c.expected) << c.name;
    }
    EXPECT_STREQ(CMPIInvocationFlags, "CMPIInvocationFlags");
}

// Offsets on LP64; a slot counts function-table members, ftVersion (and miVersion) being slot 0.
TEST(CmpiLayout, MembersSitWhereCmpi10PutsThem) {
    if (sizeof(void*) != 8) {
        GTEST_SKIP() << "expected offsets are for LP64";
    }
    const Expected members[] = {
        // clang-format off
        AT(CMPIData, type, 0), AT(CMPIData, state, 2), AT(CMPIData, value, 8),
        AT(CMPIStatus, rc, 0), AT(CMPIStatus, msg, 8), AT(CMPIBroker, xft, 24),
        AT(CMPIBrokerFT, brokerVersion, 4), SLOT(CMPIBrokerFT, brokerName, 1),
        SLOT(CMPIBrokerFT, prepareAttachThread, 2), SLOT(CMPIBrokerFT, deliverIndication, 5),
        SLOT(CMPIBrokerFT, enumerateInstanceNames, 6), SLOT(CMPIBrokerFT, associatorNames, 14),
        SLOT(CMPIBrokerFT, getProperty, 19), SLOT(CMPIBrokerEncFT, newInstance, 1),
        SLOT(CMPIBrokerEncFT, classPathIsA, 10), SLOT(CMPIBrokerEncFT, trace, 16),
        SLOT(CMPIBrokerExtFT, signalCondition, 20), SLOT(CMPIContextFT, addEntry, 6),
        SLOT(CMPIResultFT, returnDone, 6), SLOT(CMPIStringFT, getCharPtr, 3),
        SLOT(CMPIArrayFT, setElementAt, 6), SLOT(CMPIEnumerationFT, toArray, 5),
        SLOT(CMPIInstanceFT, setPropertyFilter, 8), SLOT(CMPIObjectPathFT, getKeyCount, 12),
        SLOT(CMPIObjectPathFT, toString, 19), SLOT(CMPIArgsFT, getArgCount, 6),
        SLOT(CMPIDateTimeFT, isInterval, 5), SLOT(CMPIPredicateFT, evaluateUsingAccessor, 4),
        SLOT(CMPIInstanceMIFT, miName, 1), SLOT(CMPIInstanceMIFT, cleanup, 2),
        SLOT(CMPIInstanceMIFT, modifyInstance, 7), SLOT(CMPIInstanceMIFT, execQuery, 9),
        SLOT(CMPIAssociationMIFT, associators, 3), SLOT(CMPIAssociationMIFT, referenceNames, 6),
        SLOT(CMPIMethodMIFT, invokeMethod, 3), SLOT(CMPIIndicationMIFT, disableIndications, 8),
        {"sizeof(CMPIValue)", sizeof(CMPIValue), 16}, {"sizeof(CMPIData)", sizeof(CMPIData), 24},
        {"sizeof(CMPIStatus)", sizeof(CMPIStatus), 16}, {"sizeof(CMPIBroker)", sizeof(CMPIBroker), 32},
        // clang-format on
    };
    for (const Expected& m : members) {
        EXPECT_EQ(m.actual, m.expected) << m.name;
    }
}

}  // namespace
