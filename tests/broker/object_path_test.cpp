// Object paths as a provider uses them: keys in order, chars stored as strings, lookups that
// ignore letter case, reference keys that are copies, and the text form hosts print.
#include <cstring>

#include "broker_test_fixture.h"

namespace cimbroker {
namespace {

using ObjectPathTest = BrokerTest;

// A key added again under any case is replaced where it stands; a lookup ignores case too.
TEST_F(ObjectPathTest, KeysKeepTheOrderAddedAreFoundIgnoringCaseAndCharsReadBackAsStrings) {
    CMPIObjectPath* op = path("Vesk_CEC");
    addChars(op, "Name", "a");
    addChars(op, "CreationClassName", "Vesk_CEC");
    CMPIUint16 dedicated = 14;
    ASSERT_EQ(CMAddKey(op, "Dedicated", &dedicated, CMPI_uint16).rc, CMPI_RC_OK);
    addChars(op, "NAME", "9119-MHE*10ABCDE");

    const NamedData keys = keysOf(op);
    EXPECT_EQ(namesOf(keys), (std::vector<std::string>{"Name", "CreationClassName", "Dedicated"}));
    EXPECT_EQ(keys[0].second.type, CMPI_string);
    EXPECT_EQ(keys[0].second.state, CMPI_keyValue);
    EXPECT_STREQ(CMGetCharPtr(keys[0].second.value.string), "9119-MHE*10ABCDE");
    EXPECT_EQ(keys[2].second.type, CMPI_uint16);
    EXPECT_EQ(keys[2].second.value.uint16, 14);
    EXPECT_EQ(CMGetKeyCount(op, nullptr), 3u);

    CMPIStatus rc{};
    CMPIData found = CMGetKey(op, "creationclassNAME", &rc);
    EXPECT_EQ(rc.rc, CMPI_RC_OK);
    EXPECT_EQ(dataToString(found), "Vesk_CEC");

    CMPIData missing = CMGetKey(op, "Missing", &rc);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_NO_SUCH_PROPERTY);
    EXPECT_EQ(missing.state, CMPI_notFound);

    CMPIString* name = nullptr;
    CMPIData beyond = CMGetKeyAt(op, 3, &name, &rc);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_NO_SUCH_PROPERTY);
    EXPECT_EQ(beyond.state, CMPI_notFound);
    EXPECT_EQ(name, nullptr);
}

TEST_F(ObjectPathTest, ReferenceKeyHoldsItsOwnCopyOfThePath) {
    CMPIObjectPath* target = path("Vesk_TOvPassthru");
    addChars(target, "Name", "before");
    CMPIObjectPath* assoc = path("Vesk_AssociatedTOvPassthru");
    ASSERT_EQ(CMAddKey(assoc, "ServiceProvided", &target, CMPI_ref).rc, CMPI_RC_OK);

    addChars(target, "Name", "after");
    CMSetClassName(target, "Changed");

    CMPIData ref = CMGetKey(assoc, "ServiceProvided", nullptr);
    ASSERT_EQ(ref.type, CMPI_ref);
    EXPECT_NE(ref.value.ref, target);
    EXPECT_EQ(classNameOf(ref.value.ref), "Vesk_TOvPassthru");
    EXPECT_EQ(dataToString(CMGetKey(ref.value.ref, "Name", nullptr)), "before");
}

TEST_F(ObjectPathTest, ToStringWritesHostNamespaceClassAndQuotedKeys) {
    CMPIObjectPath* target = path("Vesk_TOvPassthru");
    addChars(target, "Name", "x\"y");
    CMPIObjectPath* op = path("Vesk_AssociatedTOvPassthru");
    CMSetHostname(op, "sp1");
    CMAddKey(op, "ServiceProvided", &target, CMPI_ref);
    CMPIBoolean yes = 1;
    CMAddKey(op, "Flag", &yes, CMPI_boolean);

    EXPECT_EQ(pathToString(op),
              "//sp1/root/orvcim:Vesk_AssociatedTOvPassthru."
              "ServiceProvided=\"root/orvcim:Vesk_TOvPassthru.Name=\\\"x\\\\\\\"y\\\"\",Flag=TRUE");
    EXPECT_EQ(pathToString(path("Vesk_CEC", "")), "Vesk_CEC");
}

TEST_F(ObjectPathTest, HostAndNamespaceCopyFromAnotherPath) {
    CMPIObjectPath* source = path("A", "root/source");
    CMSetHostname(source, "far");
    CMPIObjectPath* op = path("B", "root/mine");
    CMSetHostname(op, "near");

    ASSERT_EQ(CMSetNameSpaceFromObjectPath(op, source).rc, CMPI_RC_OK);
    EXPECT_EQ(borrowNameSpace(op), "root/source");
    EXPECT_EQ(borrowHost(op), "near");
    ASSERT_EQ(CMSetHostAndNameSpaceFromObjectPath(op, source).rc, CMPI_RC_OK);
    EXPECT_EQ(borrowHost(op), "far");
    EXPECT_EQ(classNameOf(op), "B");
}

// Qualifiers are not kept, so asking for one is refused too.
TEST_F(ObjectPathTest, BadArgumentsGiveAnErrorNotACrash) {
    CMPIObjectPath* op = path("A");
    EXPECT_EQ(CMAddKey(op, nullptr, "v", CMPI_chars).rc, CMPI_RC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(CMAddKey(op, "K", "v", CMPI_class).rc, CMPI_RC_ERR_INVALID_DATA_TYPE);
    CMPIObjectPath foreign{nullptr, nullptr};
    CMPIObjectPath* foreignPtr = &foreign;
    EXPECT_EQ(CMAddKey(op, "K", &foreignPtr, CMPI_ref).rc, CMPI_RC_ERR_INVALID_HANDLE);
    EXPECT_EQ(CMGetKeyCount(op, nullptr), 0u);

    CMPIStatus rc{};
    EXPECT_EQ(op->ft->getKeyCount(nullptr, &rc), 0u);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_INVALID_HANDLE);
    CMGetClassQualifier(op, "Key", &rc);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_NOT_SUPPORTED);
    CMGetPropertyQualifier(op, "P", "Key", &rc);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_NOT_SUPPORTED);
}

}  // namespace
}  // namespace cimbroker
