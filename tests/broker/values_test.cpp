// Strings, arrays, context, args, enumerations and results: the value carriers a provider and a
// host pass between them.
#include "broker_test_fixture.h"

namespace cimbroker {
namespace {

using ValuesTest = BrokerTest;

TEST_F(ValuesTest, StringHandleIsItsCharacterData) {
    CMPIString* s = CMNewString(mb, "lab-system-7", nullptr);
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(static_cast<const char*>(s->hdl), "lab-system-7");
    EXPECT_EQ(s->ft->getCharPtr(s, nullptr), s->hdl);

    CMPIStatus rc{};
    EXPECT_EQ(CMNewString(mb, nullptr, &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_INVALID_PARAMETER);
}

// Unknown element types and sizes beyond memory are refused.
TEST_F(ValuesTest, ArrayElementsAreTypedAndStartNull) {
    CMPIArray* array = CMNewArray(mb, 2, CMPI_chars, nullptr);
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(CMGetArrayType(array, nullptr), CMPI_string);
    EXPECT_TRUE(CMIsNullValue(CMGetArrayElementAt(array, 1, nullptr)));

    EXPECT_EQ(CMSetArrayElementAt(array, 0, "a", CMPI_chars).rc, CMPI_RC_OK);
    CMPIString* b = CMNewString(mb, "b", nullptr);
    EXPECT_EQ(CMSetArrayElementAt(array, 1, &b, CMPI_string).rc, CMPI_RC_OK);
    CMPIUint16 number = 1;
    EXPECT_EQ(CMSetArrayElementAt(array, 0, &number, CMPI_uint16).rc, CMPI_RC_ERR_TYPE_MISMATCH);
    EXPECT_EQ(CMSetArrayElementAt(array, 2, "c", CMPI_chars).rc, CMPI_RC_ERR_NO_SUCH_PROPERTY);

    const std::vector<CMPIData> elements = elementsOf(array);
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[0].type, CMPI_string);
    EXPECT_EQ(dataToString(elements[0]), "a");
    EXPECT_EQ(dataToString(elements[1]), "b");

    CMPIStatus rc{};
    EXPECT_EQ(CMNewArray(mb, 1, CMPI_class, &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_INVALID_DATA_TYPE);
    EXPECT_EQ(CMNewArray(mb, 0xFFFFFFFFu, CMPI_uint8, &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_INVALID_PARAMETER);
}

TEST_F(ValuesTest, ContextAndArgsFindEntriesByNameIgnoringCase) {
    const CMPIContext* ctx = scope.context();
    CMPIUint32 flags = CMPI_FLAG_DeepInheritance;
    ASSERT_EQ(CMAddContextEntry(ctx, CMPIInvocationFlags, &flags, CMPI_uint32).rc, CMPI_RC_OK);
    CMAddContextEntry(ctx, CMPIInitNameSpace, "root/orvcim", CMPI_chars);
    EXPECT_EQ(CMGetContextEntryCount(ctx, nullptr), 2u);
    EXPECT_EQ(CMGetContextEntry(ctx, "cmpiinvocationflags", nullptr).value.uint32,
              static_cast<CMPIUint32>(CMPI_FLAG_DeepInheritance));
    CMPIString* name = nullptr;
    EXPECT_EQ(dataToString(CMGetContextEntryAt(ctx, 1, &name, nullptr)), "root/orvcim");
    EXPECT_EQ(toStdString(name), CMPIInitNameSpace);

    CMPIArgs* args = CMNewArgs(mb, nullptr);
    CMAddArg(args, "Role", "UserOfService", CMPI_chars);
    EXPECT_EQ(CMGetArgCount(args, nullptr), 1u);
    EXPECT_EQ(dataToString(CMGetArg(args, "role", nullptr)), "UserOfService");
}

TEST_F(ValuesTest, ResultKeepsClonesInOrderAndCountsDone) {
    Result result(runtime);
    CMPIObjectPath* first = path("Vesk_CEC");
    CMPIInstance* inst = instance(first);
    CMPIObjectPath* second = path("Vesk_TOvPassthru");

    CMReturnObjectPath(result.cmpi(), first);
    CMReturnObjectPath(result.cmpi(), second);
    CMReturnInstance(result.cmpi(), inst);
    CMReturnData(result.cmpi(), "text", CMPI_chars);
    CMReturnDone(result.cmpi());
    CMSetClassName(first, "Changed");

    ASSERT_EQ(result.objectPaths().size(), 2u);
    EXPECT_NE(result.objectPaths()[0], first);
    EXPECT_EQ(classNameOf(result.objectPaths()[0]), "Vesk_CEC");
    EXPECT_EQ(classNameOf(result.objectPaths()[1]), "Vesk_TOvPassthru");
    ASSERT_EQ(result.instances().size(), 1u);
    ASSERT_EQ(result.data().size(), 1u);
    EXPECT_EQ(result.data()[0].type, CMPI_string);
    EXPECT_EQ(result.doneCount(), 1);

    EXPECT_EQ(CMReturnInstance(result.cmpi(), nullptr).rc, CMPI_RC_ERR_INVALID_PARAMETER);
}

TEST_F(ValuesTest, EnumerationWalksItsOwnCopyOfTheArray) {
    CMPIArray* array = CMNewArray(mb, 2, CMPI_ref, nullptr);
    CMPIObjectPath* a = path("A");
    CMPIObjectPath* b = path("B");
    CMSetArrayElementAt(array, 0, &a, CMPI_ref);
    CMSetArrayElementAt(array, 1, &b, CMPI_ref);
    CMPIEnumeration* en = runtime.newEnumeration(array, nullptr);
    ASSERT_NE(en, nullptr);
    CMSetArrayElementAt(array, 0, &b, CMPI_ref);
    CMSetClassName(a, "Renamed");  // the array holds its own copy of each path

    std::vector<std::string> seen;
    while (CMHasNext(en, nullptr)) {
        seen.push_back(classNameOf(CMGetNext(en, nullptr).value.ref));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"A", "B"}));
    CMPIStatus rc{};
    CMGetNext(en, &rc);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(elementsOf(CMToArray(en, nullptr)).size(), 2u);

    EXPECT_EQ(runtime.newEnumeration(CMNewArray(mb, 1, CMPI_uint8, nullptr), &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_INVALID_PARAMETER);
}

TEST_F(ValuesTest, InstanceCloneIsDeepAndKeepsItsFilter) {
    CMPIObjectPath* op = path("A");
    addChars(op, "Name", "n");
    CMPIInstance* original = instance(op);
    setChars(original, "Name", "n");
    const char* onlyName[] = {"Name", nullptr};
    CMSetPropertyFilter(original, onlyName, nullptr);

    CMPIInstance* clone = CMClone(original, nullptr);
    ASSERT_NE(clone, nullptr);
    setChars(clone, "Name", "changed");
    setChars(clone, "Dropped", "by the filter");
    EXPECT_EQ(dataToString(CMGetProperty(original, "Name", nullptr)), "n");
    EXPECT_EQ(namesOf(propertiesOf(clone)), std::vector<std::string>{"Name"});
    EXPECT_EQ(pathToString(CMGetObjectPath(clone, nullptr)), "root/orvcim:A.Name=\"changed\"");
    CMRelease(clone);
}

}  // namespace
}  // namespace cimbroker
