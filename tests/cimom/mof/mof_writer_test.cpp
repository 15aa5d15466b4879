// The MOF instance writer: what it writes, readMofText reads back to equal declarations, hostile
// strings included; what could not read back is refused.
#include "cimom/mof/mof_writer.h"

#include <gtest/gtest.h>

#include "cimom/mof/mof_reader.h"

namespace cimmof {
namespace {

PropertyValue scalar(const std::string& name, const std::string& value) {
    return PropertyValue{name, value, {}, false, false};
}

PropertyValue array(const std::string& name, const std::vector<std::string>& elements) {
    std::string joined;
    for (const std::string& e : elements) {
        joined += joined.empty() ? e : ", " + e;
    }
    return PropertyValue{name, joined, elements, true, false};
}

void expectSame(const InstanceDecl& a, const InstanceDecl& b) {
    EXPECT_EQ(a.className, b.className);
    EXPECT_EQ(a.alias, b.alias);
    ASSERT_EQ(a.qualifiers.size(), b.qualifiers.size());
    for (std::size_t i = 0; i < a.qualifiers.size(); ++i) {
        EXPECT_EQ(a.qualifiers[i].name, b.qualifiers[i].name);
        EXPECT_EQ(a.qualifiers[i].value, b.qualifiers[i].value);
        EXPECT_EQ(a.qualifiers[i].elements, b.qualifiers[i].elements);
        EXPECT_EQ(a.qualifiers[i].isArray, b.qualifiers[i].isArray);
    }
    ASSERT_EQ(a.values.size(), b.values.size());
    for (std::size_t i = 0; i < a.values.size(); ++i) {
        SCOPED_TRACE(a.values[i].name);
        EXPECT_EQ(a.values[i].name, b.values[i].name);
        EXPECT_EQ(a.values[i].value, b.values[i].value);
        EXPECT_EQ(a.values[i].elements, b.values[i].elements);
        EXPECT_EQ(a.values[i].isArray, b.values[i].isArray);
        EXPECT_EQ(a.values[i].isNull, b.values[i].isNull);
    }
}

std::vector<InstanceDecl> roundTrip(const std::vector<InstanceDecl>& written) {
    std::string text;
    const cimp::Outcome wrote = writeMofInstances(written, &text);
    EXPECT_TRUE(wrote.ok()) << wrote.message();
    MofDocument doc;
    const cimp::Outcome read = readMofText(text, "state.mof", &doc);
    EXPECT_TRUE(read.ok()) << read.message() << "\n" << text;
    return doc.instances;
}

TEST(MofWriter, ValuesOfEveryKindReadBackEqual) {
    InstanceDecl filter;
    filter.className = "CIM_IndicationFilter";
    filter.alias = "filter1";
    filter.qualifiers = {Qualifier{"Description", "made by a test", {}, false},
                         Qualifier{"Tags", "a, b", {"a", "b"}, true}};
    PropertyValue none{"Comment", "", {}, false, true};
    filter.values = {scalar("Name", "filter 1"),
                     scalar("Query", "SELECT * FROM CIM_InstCreation WHERE x = 'y'"),
                     scalar("Count", "42"),
                     scalar("Negative", "-7"),
                     scalar("Ratio", "1.5e3"),
                     scalar("Enabled", "true"),
                     scalar("LooksNumeric", "007x"),
                     scalar("Empty", ""),
                     none,
                     array("SourceNamespaces", {"root/cimv2", "root/interop"}),
                     array("NoElements", {}),
                     array("Mixed", {"1", "two, three", ""})};
    InstanceDecl second;
    second.className = "CIM_ListenerDestinationCIMXML";
    second.values = {scalar("Destination", "https://127.0.0.1:5989/cimlistener")};
    const std::vector<InstanceDecl> read = roundTrip({filter, second});
    ASSERT_EQ(read.size(), 2u);
    expectSame(filter, read[0]);
    expectSame(second, read[1]);
}

TEST(MofWriter, HostileStringsReadBackByteForByte) {
    std::string everyByte;
    for (int c = 0; c < 256; ++c) {
        everyByte += static_cast<char>(c);
    }
    const std::vector<std::string> hostile = {
        "\"};\ninstance of Evil { X = 1; };\n",  // tries to close the literal and the instance
        "back\\slash\\",
        "\\x0041 not an escape",
        "\x01"
        "41 hex after a control character",
        "tab\tcr\rnl\nff\fbs\bdel\x7f",
        std::string("nul\0inside", 10),
        "$NotAnAlias",
        "// not a comment /* nor this */",
        "Grüße, 日本語, \xF0\x9F\x98\x80",
        everyByte,
        "TRUE",
        "null",
        "0x"};
    InstanceDecl inst;
    inst.className = "Test_Hostile";
    for (std::size_t i = 0; i < hostile.size(); ++i) {
        inst.values.push_back(scalar("P" + std::to_string(i), hostile[i]));
    }
    inst.values.push_back(array("Elements", hostile));
    const std::vector<InstanceDecl> read = roundTrip({inst});
    ASSERT_EQ(read.size(), 1u);
    expectSame(inst, read[0]);
}

TEST(MofWriter, RefusesWhatCouldNotReadBack) {
    const auto refusal = [](const InstanceDecl& inst) {
        std::string text = "untouched";
        const cimp::Outcome outcome = writeMofInstances({inst}, &text);
        EXPECT_FALSE(outcome.ok());
        EXPECT_EQ(text, "untouched");
        return outcome.message();
    };
    InstanceDecl badClass;
    badClass.className = "Bad Class";
    EXPECT_NE(refusal(badClass).find("'Bad Class' is not a MOF identifier"), std::string::npos);

    InstanceDecl badProperty;
    badProperty.className = "Test_X";
    badProperty.values = {scalar("Name = 1; Evil", "x")};
    EXPECT_NE(refusal(badProperty).find("instance of Test_X property"), std::string::npos);

    InstanceDecl badAlias;
    badAlias.className = "Test_X";
    badAlias.alias = "a b";
    EXPECT_NE(refusal(badAlias).find("alias"), std::string::npos);

    InstanceDecl tooLong;
    tooLong.className = "Test_X";
    tooLong.values = {array("Big", {std::string(70 * 1024, 'a')})};
    EXPECT_NE(refusal(tooLong).find("longer than"), std::string::npos);
}

TEST(MofWriter, NothingToWriteIsAnEmptyDocument) {
    EXPECT_TRUE(roundTrip({}).empty());
}

}  // namespace
}  // namespace cimmof
