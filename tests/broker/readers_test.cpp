// The readers the host encodes CIM-XML with: each value type as text and as a literal.
#include "broker_test_fixture.h"

namespace cimbroker {
namespace {

using ReadersTest = BrokerTest;

CMPIData scalar(CMPIType type, CMPIValue value) {
    CMPIData data{};
    data.type = type;
    data.state = CMPI_goodValue;
    data.value = value;
    return data;
}

TEST_F(ReadersTest, ScalarsAsTextAndLiteral) {
    struct Case {
        CMPIData data;
        const char* text;
        const char* literal;
    };
    CMPIValue v{};
    const auto with = [&v](auto set) {
        v = CMPIValue{};
        set(v);
        return v;
    };
    const Case cases[] = {
        {scalar(CMPI_boolean, with([](CMPIValue& x) { x.boolean = 1; })), "TRUE", "TRUE"},
        {scalar(CMPI_sint8, with([](CMPIValue& x) { x.sint8 = -8; })), "-8", "-8"},
        {scalar(CMPI_uint64, with([](CMPIValue& x) { x.uint64 = 18446744073709551615ULL; })),
         "18446744073709551615", "18446744073709551615"},
        {scalar(CMPI_real64, with([](CMPIValue& x) { x.real64 = 0.5; })), "0.5", "0.5"},
        {scalar(CMPI_char16, with([](CMPIValue& x) { x.char16 = 0x00E9; })), "\xC3\xA9",
         "\"\xC3\xA9\""},
        {scalar(CMPI_chars, with([](CMPIValue& x) { x.chars = const_cast<char*>("a\"b"); })),
         "a\"b", "\"a\\\"b\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dataToString(c.data), c.text) << c.data.type;
        EXPECT_EQ(dataToLiteral(c.data), c.literal) << c.data.type;
    }
}

TEST_F(ReadersTest, NullAndMissingValues) {
    CMPIObjectPath* op = path("A");
    CMAddKey(op, "Empty", nullptr, CMPI_string);
    const CMPIData empty = CMGetKey(op, "Empty", nullptr);
    EXPECT_EQ(empty.type, CMPI_string);
    EXPECT_EQ(empty.state, CMPI_nullValue | CMPI_keyValue);
    EXPECT_EQ(dataToString(empty), "");
    EXPECT_EQ(dataToLiteral(empty), "NULL");
    EXPECT_EQ(dataToLiteral(CMGetKey(op, "Missing", nullptr)), "NULL");
    EXPECT_TRUE(keysOf(nullptr).empty());
    EXPECT_EQ(toStdString(nullptr), "");
}

TEST_F(ReadersTest, ArraysReferencesAndInstances) {
    CMPIArray* names = CMNewArray(mb, 2, CMPI_string, nullptr);
    CMSetArrayElementAt(names, 0, "x", CMPI_chars);
    CMPIData array{};
    array.type = CMPI_stringA;
    array.value.array = names;
    EXPECT_EQ(dataToString(array), "{x,}");
    EXPECT_EQ(dataToLiteral(array), "{\"x\",NULL}");

    CMPIObjectPath* op = path("A");
    addChars(op, "K", "v");
    CMPIData ref{};
    ref.type = CMPI_ref;
    ref.value.ref = op;
    EXPECT_EQ(dataToLiteral(ref), "\"root/orvcim:A.K=\\\"v\\\"\"");

    CMPIInstance* inst = instance(op);
    setChars(inst, "K", "w");
    EXPECT_EQ(toStdString(mb->eft->toString(mb, inst, nullptr)), "instance of A { K = \"w\"; }");
}

}  // namespace
}  // namespace cimbroker
