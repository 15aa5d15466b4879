#include <gtest/gtest.h>

#include <string>

#include "cimom/mof/mof_reader.h"
#include "cimom/mof/schema.h"
#include "tests/cimom/mof/mof_error_assert.h"

namespace {

using cimmof::Schema;

cimp::Outcome loadString(const std::string& text, const std::string& fileName) {
    Schema schema;
    return Schema::loadString(text, fileName, &schema);
}

struct BrokenCase {
    const char* text;
    int line;
    int column;
    const char* message;
};

// One row per kind of fault; the error must name the place a reader would look at.
const BrokenCase kBroken[] = {
    // Syntax
    {"class A {", 1, 7, "class A is not closed"},
    {"class A { string s };", 1, 20, "expected ';' after s"},
    // Comments count their lines, a tab is one column.
    {"// c\n/* two\n   lines */ class A {\tstring s };", 3, 32, "expected ';' after s"},
    {"class A { strng s; };", 1, 11, "unknown data type 'strng'"},
    {"class A { string s = \"x; };", 1, 22, "unterminated string literal"},
    {"/* never closed\nclass A {};", 1, 1, "unterminated comment"},
    {"string s;", 1, 1, "expected 'class', 'instance', 'qualifier'"},
    {"[Abstract] qualifier Q : string, scope(any);", 1, 12, "expected 'class' or 'instance'"},
    {"class A {\n  string s;\n  uint32 S();\n};", 3, 10, "declares 'S' twice"},
    {"[Key, key] class A {};", 1, 7, "qualifier key is given twice"},
    {"[Key : Bogus] class A {};", 1, 8, "unknown flavor 'Bogus'"},
    {"class A { uint16 n = {1, 2}; };", 1, 22, "scalar property cannot take an array default"},
    {"class A { uint16 n[] = 5; };", 1, 24, "needs an array default"},
    {"qualifier Q : uint8[] = 5, scope(any);", 1, 25, "array qualifier needs an array default"},
    {"class A { [ValueMap{{\"1\"}}] uint8 v; };", 1, 21, "cannot be nested"},
    {"class A { [Values{\"a\", NULL}] uint8 v; };", 1, 24, "NULL cannot be an array element"},
    {"class A { string s[99999999999]; };", 1, 20, "array size"},
    {"[Association] class R { R REF r[]; };", 1, 32, "array of references"},
    {"class A { uint8 v = 12ab; };", 1, 21, "malformed number"},
    {"class A { real32 r = 1e5; };", 1, 22, "malformed number"},
    {"class A { string s = \"\\q\"; };", 1, 23, "unknown escape"},
    {"class A { string s = \"\\x\"; };", 1, 23, "expected hex digits"},
    {"class A { char16 c = 'ab'; };", 1, 22, "exactly one character"},
    {"instance of A { x = $ ; };", 1, 21, "alias name"},
    {"class A @", 1, 9, "unexpected character 0x40"},
    {"#pragma include(bogus)", 1, 17, "expected a string argument"},
    {"#include(\"x\")", 1, 2, "expected 'pragma'"},
    {"class A { uint32 f([In] string a, string A); };", 1, 42, "two parameters named A"},
    {"qualifier Q : string, scope(klass);", 1, 29, "unknown scope 'klass'"},
    {"qualifier Q : string;", 1, 21, "expected ','"},
    {"instance A {};", 1, 10, "expected 'of'"},
    // Meaning
    {"class B : A {};", 1, 7, "superclass A of B is not declared"},
    {"class B : A {};\nclass A {};", 1, 7, "not declared before"},
    {"class A {};\nclass a {};", 2, 7, "already declared at t.mof:1"},
    {"[Association] class R {\n  X REF r;\n};", 2, 9, "refers to class X"},
    {"class A {};\nclass B { A REF r; };", 2, 17, "only an association may declare a reference"},
    {"class A { uint32 f(X REF x); };", 1, 26, "refers to class X"},
    {"class A {};\n[Association] class R : A {};", 2, 21, "cannot derive from A"},
    {"class A { string s; };\nclass B : A { uint32 s; };", 2, 22,
     "is uint32 but overrides A.s of type string"},
    {"class A { [Override(\"t\")] string s; };", 1, 34, "names t in Override"},
    {"class A { [Override(\"s\")] string s; };", 1, 34, "which no superclass declares"},
    {"class P {};\nclass Q {};\n[Association] class R { P REF x; };\n"
     "[Association] class S : R { Q REF x; };",
     4, 35, "refers to Q, which is not a P"},
    {"class A { [Key] string k; };\nclass B : A { [Key(false)] string k; };", 2, 35,
     "cannot drop the Key qualifier"},
    {"class A { [Key] string k[]; };", 1, 24, "a key cannot be an array"},
    {"class A {};\ninstance of A { x = 1; };", 2, 1, "a schema declares classes only"},
};

TEST(MofErrors, EachBrokenInputIsReportedAtItsFault) {
    for (const BrokenCase& c : kBroken) {
        EXPECT_TRUE(mofassert::failsAt([&] { return loadString(c.text, "t.mof"); }, "t.mof", c.line,
                                       c.column, c.message))
            << c.text;
    }
}

// Input built to exhaust a parser: the error must come back as a failed read, in bounded time.
// Over-long names, numbers and strings are the lexer's bounds (lexer_test.cpp).
TEST(MofErrors, HostileInputEndsInAnErrorNotACrash) {
    const std::string hostile[] = {
        std::string(200000, '['),
        "class A { uint8 v = " + std::string(200000, '{') + "; };",
        "class A { [D(\"" + std::string(60000, 'a') + "\" \"" + std::string(60000, 'b') +
            "\")] uint8 v; };",
        "/*" + std::string(100000, '*'),
        "class A {" + std::string(100000, ';') + "};",
        std::string("class A {\0\0\0};", 15),
        "\xFF\xFE\x00\x01",
        "#pragma include(\"" + std::string(65536, 'p') + "\")",
    };
    for (const std::string& text : hostile) {
        EXPECT_FALSE(loadString(text, "h.mof").ok()) << text.substr(0, 40);
    }
    cimmof::MofDocument doc;
    EXPECT_FALSE(
        cimmof::readMofText(std::string(cimmof::kMaxMofFileBytes + 1, ' '), "big.mof", &doc).ok());
}

}  // namespace
