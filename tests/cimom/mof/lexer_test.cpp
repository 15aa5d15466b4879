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
    TokenKind kind;
    const char* source;  // several tokens of that kind
    std::vector<std::string> decoded;
};

TEST(Lexer, DecodesEveryLiteralForm) {
    const LiteralCase cases[] = {
        {TokenKind::String,
         R"("plain" "tab\there" "q\"b\\s\'" "\b\f\n\r" "\x41\X42" "\xe9" "\x20AC" "\x20ACF")"
         " \"caf\xC3\xA9\"",
         {"plain", "tab\there", "q\"b\\s'", "\b\f\n\r", "AB", "\xC3\xA9", "\xE2\x82\xAC",
          "\xE2\x82\xAC"
          "F",
          "caf\xC3\xA9"}},
        {TokenKind::Char, "'x' '\\n' '\xC3\xA9'", {"x", "\n", "\xC3\xA9"}},
        {TokenKind::Integer, "42 -7 +7 0x1F 101b 017", {"42", "-7", "+7", "0x1F", "101b", "017"}},
        {TokenKind::Real, "3.25 -.5 1.5e-3 2.0E+10", {"3.25", "-.5", "1.5e-3", "2.0E+10"}},
        {TokenKind::Alias, "$Module", {"Module"}},
        {TokenKind::Identifier, "CIM_ManagedElement _x9", {"CIM_ManagedElement", "_x9"}},
    };
    for (const LiteralCase& c : cases) {
        SCOPED_TRACE(c.source);
        std::vector<std::string> decoded;
        for (const Token& t : lexAll(c.source)) {
            EXPECT_EQ(t.kind, c.kind) << t.text;
            decoded.push_back(t.text);
        }
        EXPECT_EQ(decoded, c.decoded);
    }
}

TEST(Lexer, BoundsTokenSizes) {
    EXPECT_NO_THROW(lexAll(std::string(Lexer::kMaxIdentifierBytes, 'a')));
    EXPECT_THROW(lexAll(std::string(Lexer::kMaxIdentifierBytes + 1, 'a')), MofError);
    EXPECT_NO_THROW(lexAll("\"" + std::string(Lexer::kMaxLiteralBytes, 's') + "\""));
    EXPECT_THROW(lexAll("\"" + std::string(Lexer::kMaxLiteralBytes + 1, 's') + "\""), MofError);
    EXPECT_THROW(lexAll(std::string(Lexer::kMaxNumberBytes + 1, '7')), MofError);
}

}  // namespace
