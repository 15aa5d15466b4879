#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "cimom/mof/mof_reader.h"
#include "cimom/mof/schema.h"
#include "tests/cimom/mof/mof_error_assert.h"

namespace {

using cimmof::MofError;
using cimmof::Schema;

struct BrokenCase {
    const char* name;
    const char* text;
    int line;
    int column;
    const char* message;
};

// Each text breaks one rule; the error must name the place a reader would look at.
const BrokenCase kBroken[] = {
    // Syntax
    {"unclosed class", "class A {", 1, 7, "class A is not closed"},
    {"missing semicolon after property", "class A { string s };", 1, 20, "expected ';' after s"},
    {"missing semicolon after class", "class A {}", 1, 11, "found end of file"},
    {"unknown data type", "class A { strng s; };", 1, 11, "unknown data type 'strng'"},
    {"unterminated string in default", "class A { string s = \"x; };", 1, 22,
     "unterminated string literal"},
    {"unterminated comment", "/* never closed\nclass A {};", 1, 1, "unterminated comment"},
    {"stray statement", "string s;", 1, 1, "expected 'class', 'instance', 'qualifier'"},
    {"qualifier list before nothing", "[Abstract] qualifier Q : string, scope(any);", 1, 12,
     "expected 'class' or 'instance'"},
    {"duplicate member", "class A {\n  string s;\n  uint32 S();\n};", 3, 10, "declares 'S' twice"},
    {"duplicate qualifier", "[Key, key] class A {};", 1, 7, "qualifier key is given twice"},
    {"unknown flavor", "[Key : Bogus] class A {};", 1, 8, "unknown flavor 'Bogus'"},
    {"scalar given an array default", "class A { uint16 n = {1, 2}; };", 1, 22,
     "scalar property cannot take an array default"},
    {"array given a scalar default", "class A { uint16 n[] = 5; };", 1, 24,
     "needs an array default"},
    {"nested array", "class A { [ValueMap{{\"1\"}}] uint8 v; };", 1, 21, "cannot be nested"},
    {"null array element", "class A { [Values{\"a\", NULL}] uint8 v; };", 1, 24,
     "NULL cannot be an array element"},
    {"zero array size", "class A { string s[0]; };", 1, 20, "array size"},
    {"huge array size", "class A { string s[99999999999]; };", 1, 20, "array size"},
    {"reference array", "[Association] class R { R REF r[]; };", 1, 32, "array of references"},
    {"malformed number", "class A { uint8 v = 12ab; };", 1, 21, "malformed number"},
    {"unknown escape", "class A { string s = \"\\q\"; };", 1, 23, "unknown escape"},
    {"char literal too long", "class A { char16 c = 'ab'; };", 1, 22, "exactly one character"},
    {"empty char literal", "class A { char16 c = ''; };", 1, 22, "exactly one character"},
    {"line break in string", "class A { string s = \"a\nb\"; };", 1, 22,
     "unterminated string literal"},
    {"hex escape without digits", "class A { string s = \"\\x\"; };", 1, 23, "expected hex digits"},
    {"real with two dots", "class A { real32 r = 1.2.3; };", 1, 22, "malformed number"},
    {"exponent without fraction", "class A { real32 r = 1e5; };", 1, 22, "malformed number"},
    {"dollar without alias name", "instance of A { x = $ ; };", 1, 21, "alias name"},
    {"unexpected character", "class A @", 1, 9, "unexpected character 0x40"},
    {"pragma without string", "#pragma include(bogus)", 1, 17, "expected a string argument"},
    {"hash without pragma", "#include(\"x\")", 1, 2, "expected 'pragma'"},
    {"duplicate parameter", "class A { uint32 f([In] string a, string A); };", 1, 42,
     "two parameters named A"},
    {"unknown scope", "qualifier Q : string, scope(klass);", 1, 29, "unknown scope 'klass'"},
    {"qualifier without scope", "qualifier Q : string;", 1, 21, "expected ','"},
    {"instance without of", "instance A {};", 1, 10, "expected 'of'"},
    // Meaning
    {"unknown superclass", "class B : A {};", 1, 7, "superclass A of B is not declared"},
    {"superclass declared later", "class B : A {};\nclass A {};", 1, 7, "not declared before"},
    {"duplicate class", "class A {};\nclass a {};", 2, 7, "already declared at t.mof:1"},
    {"unknown reference class", "[Association] class R {\n  X REF r;\n};", 2, 9,
     "refers to class X"},
    {"reference outside association", "class A {};\nclass B { A REF r; };", 2, 17,
     "only an association may declare a reference"},
    {"unknown parameter class", "class A { uint32 f(X REF x); };", 1, 26, "refers to class X"},
    {"association below plain class", "class A {};\n[Association] class R : A {};", 2, 21,
     "cannot derive from A"},
    {"override changes type", "class A { string s; };\nclass B : A { uint32 s; };", 2, 22,
     "is uint32 but overrides A.s of type string"},
    {"override changes arrayness", "class A { string s; };\nclass B : A { string s[]; };", 2, 22,
     "is string[] but overrides"},
    {"override names another property", "class A { [Override(\"t\")] string s; };", 1, 34,
     "names t in Override"},
    {"override of nothing", "class A { [Override(\"s\")] string s; };", 1, 34,
     "which no superclass declares"},
    {"reference widened",
     "class P {};\nclass Q {};\n[Association] class R { P REF x; };\n"
     "[Association] class S : R { Q REF x; };",
     4, 35, "refers to Q, which is not a P"},
    {"key dropped", "class A { [Key] string k; };\nclass B : A { [Key(false)] string k; };", 2, 35,
     "cannot drop the Key qualifier"},
    {"array key", "class A { [Key] string k[]; };", 1, 24, "a key cannot be an array"},
    {"instance in a schema", "class A {};\ninstance of A { x = 1; };", 2, 1,
     "a schema declares classes only"},
};

TEST(MofErrors, EachBrokenInputIsReportedAtItsFault) {
    for (const BrokenCase& c : kBroken) {
        EXPECT_TRUE(mofassert::failsAt([&] { Schema::loadString(c.text, "t.mof"); }, "t.mof",
                                       c.line, c.column, c.message))
            << c.name;
    }
}

// Input built to exhaust a parser: the error must come back as a MofError, in bounded time.
TEST(MofErrors, HostileInputEndsInAnErrorNotACrash) {
    const std::string hostile[] = {
        std::string(200000, '['),
        "class A { uint8 v = " + std::string(200000, '{') + "; };",
        "class A { string s = \"" + std::string(3 * 65536, 'x') + "\"; };",
        "class " + std::string(1 << 20, 'A') + " {};",
        "class A { uint8 v = " + std::string(100000, '9') + "; };",
        "class A { [D(\"" + std::string(60000, 'a') + "\" \"" + std::string(60000, 'b') +
            "\")] uint8 v; };",
        "/*" + std::string(100000, '*'),
        "class A {" + std::string(100000, ';') + "};",
        std::string("class A {\0\0\0};", 15),
        "\xFF\xFE\x00\x01",
        "#pragma include(\"" + std::string(65536, 'p') + "\")",
    };
    for (const std::string& text : hostile) {
        EXPECT_THROW(Schema::loadString(text, "h.mof"), MofError) << text.substr(0, 40);
    }
    EXPECT_THROW(cimmof::readMofText(std::string(cimmof::kMaxMofFileBytes + 1, ' '), "big.mof"),
                 MofError);
}

// Random damage to the shipped schema: every outcome is a Schema or a MofError.
TEST(MofErrors, DamagedSchemaTextNeverEscapesAsAnotherFailure) {
    std::ifstream in(std::string(CIMP_SCHEMA_DIR) + "/cim_base.mof");
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string original = buffer.str();
    ASSERT_GT(original.size(), 1000u);
    std::uint32_t state = 12345;
    auto random = [&state](std::uint32_t bound) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    };
    const char alphabet[] = "{}[]();,:=#\"'/*\\$ \nREFclass0x.9";
    int errors = 0;
    for (int round = 0; round < 400; ++round) {
        std::string text = original;
        const int edits = 1 + static_cast<int>(random(4));
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random(static_cast<std::uint32_t>(text.size()));
            switch (random(3)) {
                case 0:
                    text.erase(at, 1 + random(8));
                    break;
                case 1:
                    text.insert(at, 1, alphabet[random(sizeof alphabet - 1)]);
                    break;
                default:
                    text[at] = static_cast<char>(random(256));
                    break;
            }
        }
        try {
            Schema::loadString(text, "fuzz.mof");
        } catch (const MofError& e) {
            ++errors;
            EXPECT_GE(e.line, 1);
            EXPECT_GE(e.column, 1);
        }
    }
    EXPECT_GT(errors, 200);  // the damage must mostly be noticed
}

}  // namespace
