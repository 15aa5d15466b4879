// Instances as a provider builds them: made from a path, properties in order, the path read back
// with its keys, and the property filter that trims what a client asked for.
#include "broker_test_fixture.h"

namespace cimbroker {
namespace {

class InstanceTest : public BrokerTest {
  protected:
    CMPIInstance* passthru() {
        CMPIObjectPath* op = path("Vesk_TOvPassthru");
        CMSetHostname(op, "sp1");
        addChars(op, "CreationClassName", "Vesk_TOvPassthru");
        addChars(op, "Name", "svc");
        return instance(op);
    }
};

TEST_F(InstanceTest, MadeFromAPathItCopiesNamespaceClassAndKeys) {
    CMPIObjectPath* op = path("Vesk_TOvPassthru");
    addChars(op, "Name", "svc");
    CMPIInstance* inst = instance(op);
    addChars(op, "Late", "not copied");

    CMPIObjectPath* back = CMGetObjectPath(inst, nullptr);
    ASSERT_NE(back, nullptr);
    EXPECT_NE(back, op);
    EXPECT_EQ(pathToString(back), "root/orvcim:Vesk_TOvPassthru.Name=\"svc\"");
    EXPECT_TRUE(propertiesOf(inst).empty());
    CMPIStatus rc{};
    EXPECT_EQ(CMNewInstance(mb, nullptr, &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_INVALID_PARAMETER);
    EXPECT_NE(rc.msg, nullptr);
}

TEST_F(InstanceTest, PropertiesKeepTheOrderFirstSetAndCharsReadBackAsStrings) {
    CMPIInstance* inst = passthru();
    setChars(inst, "SystemName", "sys");
    setChars(inst, "Name", "svc");
    setChars(inst, "systemname", "sys2");

    const NamedData properties = propertiesOf(inst);
    EXPECT_EQ(namesOf(properties), (std::vector<std::string>{"SystemName", "Name"}));
    EXPECT_EQ(properties[0].second.type, CMPI_string);
    EXPECT_EQ(properties[0].second.state, CMPI_goodValue);
    EXPECT_EQ(dataToString(properties[0].second), "sys2");

    CMPIStatus rc{};
    EXPECT_EQ(CMGetProperty(inst, "Missing", &rc).state, CMPI_notFound);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_NO_SUCH_PROPERTY);
}

TEST_F(InstanceTest, ObjectPathTakesKeyValuesFromPropertiesOfTheSameName) {
    CMPIInstance* inst = passthru();
    setChars(inst, "name", "renamed");
    setChars(inst, "Extra", "not a key");
    EXPECT_EQ(pathToString(CMGetObjectPath(inst, nullptr)),
              "//sp1/root/orvcim:Vesk_TOvPassthru.CreationClassName=\"Vesk_TOvPassthru\","
              "Name=\"renamed\"");
}

TEST_F(InstanceTest, ArrayPropertyIsACopyOfTheArray) {
    CMPIInstance* inst = passthru();
    CMPIArray* array = CMNewArray(mb, 1, CMPI_uint16, nullptr);
    CMPIUint16 value = 14;
    CMSetArrayElementAt(array, 0, &value, CMPI_uint16);
    ASSERT_EQ(CMSetProperty(inst, "Dedicated", &array, CMPI_uint16A).rc, CMPI_RC_OK);
    value = 99;
    CMSetArrayElementAt(array, 0, &value, CMPI_uint16);

    CMPIData stored = CMGetProperty(inst, "Dedicated", nullptr);
    EXPECT_EQ(stored.type, CMPI_uint16A);
    EXPECT_NE(stored.value.array, array);
    EXPECT_EQ(dataToString(stored), "{14}");
    EXPECT_EQ(CMSetProperty(inst, "Dedicated", &array, CMPI_stringA).rc, CMPI_RC_ERR_TYPE_MISMATCH);
}

// Listed names ignore case, keys stay beside them, and properties set later obey the same list;
// a list of no names keeps only keys and a null list removes the filter.
TEST_F(InstanceTest, PropertyFilterKeepsListedPropertiesAndKeysNowAndForLaterSets) {
    const struct {
        std::vector<const char*> properties;  // without the terminating null
        std::vector<const char*> keys;
        std::vector<std::string> kept;
    } cases[] = {
        {{}, {"Name"}, {"Name"}},
        {{"elementname"}, {}, {"ElementName"}},
        {{"ElementName"},
         {"CreationClassName", "Name"},
         {"CreationClassName", "Name", "ElementName"}},
        {{"DESCRIPTION"}, {}, {"Description"}},
    };
    for (const auto& c : cases) {
        CMPIInstance* inst = passthru();
        setChars(inst, "CreationClassName", "Vesk_TOvPassthru");
        setChars(inst, "Name", "svc");
        setChars(inst, "ElementName", "e");
        std::vector<const char*> properties = c.properties;
        properties.push_back(nullptr);
        std::vector<const char*> keys = c.keys;
        keys.push_back(nullptr);
        ASSERT_EQ(CMSetPropertyFilter(inst, properties.data(), keys.data()).rc, CMPI_RC_OK);
        EXPECT_EQ(CMSetProperty(inst, "Description", "d", CMPI_chars).rc, CMPI_RC_OK);
        EXPECT_EQ(namesOf(propertiesOf(inst)), c.kept);
    }
    CMPIInstance* inst = passthru();
    setChars(inst, "Name", "svc");
    CMSetPropertyFilter(inst, nullptr, nullptr);
    setChars(inst, "ElementName", "e");
    EXPECT_EQ(namesOf(propertiesOf(inst)), (std::vector<std::string>{"Name", "ElementName"}));
}

}  // namespace
}  // namespace cimbroker
