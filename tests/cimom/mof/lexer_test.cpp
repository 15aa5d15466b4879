#include "cimom/mof/lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using cimmof::Lexer;
using cimmof::MofError;
using cimmof::Token;
using cimmof::TokenKind;

std::vector<Token> lexAll(const std::string& text) {
    Lexer lexer(text, "t.mof");
    std::vector<Token> tokens;
    for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next()) {
        tokens.push_back(t);
    }
    return tokens;
}

struct LiteralCase {
    const char* source;
    TokenKind kind;
    std::string text;
};

TEST(Lexer, DecodesEveryLiteralForm) {
    const LiteralCase cases[] = {
        {R"("plain")", TokenKind::String, "plain"},
        {R"("tab\there")", TokenKind::String, "tab\there"},
        {R"("q\"b\\s\'")", TokenKind::String, "q\"b\\s'"},
        {R"("\b\f\n\r")", TokenKind::String, "\b\f\n\r"},
        {R"("\x41\X42")", TokenKind::String, "AB"},
        {R"("\xe9")", TokenKind::String, "\xC3\xA9"},
        {R"("\x20AC")", TokenKind::String, "\xE2\x82\xAC"},
        {R"("\x20ACF")", TokenKind::String,
         "\xE2\x82\xAC"
         "F"},
        {"\"caf\xC3\xA9\"", TokenKind::String, "caf\xC3\xA9"},
        {"'x'", TokenKind::Char, "x"},
        {R"('\n')", TokenKind::Char, "\n"},
        {"'\xC3\xA9'", TokenKind::Char, "\xC3\xA9"},
        {"42", TokenKind::Integer, "42"},
        {"-7", TokenKind::Integer, "-7"},
        {"+7", TokenKind::Integer, "+7"},
        {"0x1F", TokenKind::Integer, "0x1F"},
        {"101b", TokenKind::Integer, "101b"},
        {"017", TokenKind::Integer, "017"},
        {"3.25", TokenKind::Real, "3.25"},
        {"-.5", TokenKind::Real, "-.5"},
        {"1.5e-3", TokenKind::Real, "1.5e-3"},
        {"2.0E+10", TokenKind::Real, "2.0E+10"},
        {"$Module", TokenKind::Alias, "Module"},
        {"CIM_ManagedElement", TokenKind::Identifier, "CIM_ManagedElement"},
        {"_x9", TokenKind::Identifier, "_x9"},
    };
    for (const LiteralCase& c : cases) {
        SCOPED_TRACE(c.source);
        const std::vector<Token> tokens = lexAll(c.source);
        ASSERT_EQ(tokens.size(), 1u);
        EXPECT_EQ(tokens[0].kind, c.kind);
        EXPECT_EQ(tokens[0].text, c.text);
    }
}

TEST(Lexer, SkipsCommentsAndTracksLinesAndColumns) {
    const std::vector<Token> tokens = lexAll(
        "// a line comment\n"
        "  class /* inline */ A\n"
        "/* spans\n"
        "   lines */ {\t};");
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[0].text, "class");
    EXPECT_EQ(tokens[0].line, 2);
    EXPECT_EQ(tokens[0].column, 3);
    EXPECT_EQ(tokens[1].text, "A");
    EXPECT_EQ(tokens[1].column, 22);
    EXPECT_EQ(tokens[2].text, "{");
    EXPECT_EQ(tokens[2].line, 4);
    EXPECT_EQ(tokens[2].column, 13);
    EXPECT_EQ(tokens[3].column, 15);  // a tab counts as one column
    EXPECT_EQ(tokens[4].text, ";");
}

TEST(Lexer, AdjacentTokensNeedNoSpace) {
    const std::vector<Token> tokens = lexAll("[Key]uint8 a[2]=5;");
    std::vector<std::string> texts;
    for (const Token& t : tokens) {
        texts.push_back(t.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"[", "Key", "]", "uint8", "a", "[", "2", "]", "=",
                                               "5", ";"}));
}

TEST(Lexer, BoundsTokenSizes) {
    EXPECT_NO_THROW(lexAll(std::string(Lexer::kMaxIdentifierBytes, 'a')));
    EXPECT_THROW(lexAll(std::string(Lexer::kMaxIdentifierBytes + 1, 'a')), MofError);
    EXPECT_NO_THROW(lexAll("\"" + std::string(Lexer::kMaxLiteralBytes, 's') + "\""));
    EXPECT_THROW(lexAll("\"" + std::string(Lexer::kMaxLiteralBytes + 1, 's') + "\""), MofError);
    EXPECT_THROW(lexAll(std::string(Lexer::kMaxNumberBytes + 1, '7')), MofError);
}

}  // namespace
