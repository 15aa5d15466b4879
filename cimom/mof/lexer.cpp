#include "cimom/mof/lexer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "base/text.h"
#include "cimom/mof/name_chars.h"

namespace cimmof {
namespace {

bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}
bool isPunct(char c) {
    return c != '\0' && std::strchr("{}[]();,:=#", c) != nullptr;
}

// Whether text[from, to) is not empty and every character satisfies `pred`.
bool allOf(const std::string& text, std::size_t from, std::size_t to, bool (*pred)(char)) {
    return from < to && std::all_of(text.begin() + from, text.begin() + to, pred);
}

bool isBinaryDigit(char c) {
    return c == '0' || c == '1';
}

// Decimal (octal when it starts with 0, still all digits), hex "0x..", or binary "..b".
bool isIntegerBody(const std::string& body) {
    const std::size_t n = body.size();
    const bool hex = n > 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X') &&
                     allOf(body, 2, n, isHexDigit);
    const bool binary =
        n > 1 && (body[n - 1] == 'b' || body[n - 1] == 'B') && allOf(body, 0, n - 1, isBinaryDigit);
    return hex || binary || allOf(body, 0, n, isDigit);
}

// [digits] "." digits [("e" | "E") [sign] digits]
bool isRealBody(const std::string& body) {
    const std::size_t dot = body.find('.');
    const std::size_t exp = std::min(body.find_first_of("eE"), body.size());
    if (dot == std::string::npos || dot > exp || (dot > 0 && !allOf(body, 0, dot, isDigit)) ||
        !allOf(body, dot + 1, exp, isDigit)) {
        return false;
    }
    if (exp == body.size()) {
        return true;
    }
    std::size_t digits = exp + 1;
    if (digits < body.size() && (body[digits] == '+' || body[digits] == '-')) {
        ++digits;
    }
    return allOf(body, digits, body.size(), isDigit);
}

std::string describeByte(char c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
    return buf;
}

// Continuation bytes (10xxxxxx) do not start a character.
std::ptrdiff_t utf8Length(const std::string& text) {
    return std::count_if(text.begin(), text.end(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

}  // namespace

Lexer::Lexer(const std::string& text, std::string file) : text_(text), file_(std::move(file)) {}

void Lexer::fail(int line, int column, const std::string& message) const {
    throw MofError(SourceLocation{file_, line, column}, message);
}

char Lexer::peek(std::size_t ahead) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
}

char Lexer::advance() {
    const char c = text_[pos_++];
    if (c == '\n') {
        ++line_;
        column_ = 1;
    } else {
        ++column_;
    }
    return c;
}

void Lexer::skipSpaceAndComments() {
    while (!atEnd()) {
        const char c = peek();
        if (isSpace(c)) {
            advance();
        } else if (c == '/' && peek(1) == '/') {
            while (!atEnd() && peek() != '\n') {
                advance();
            }
        } else if (c == '/' && peek(1) == '*') {
            const int line = line_;
            const int column = column_;
            advance();
            advance();
            while (!(peek() == '*' && peek(1) == '/')) {
                if (atEnd()) {
                    fail(line, column, "unterminated comment");
                }
                advance();
            }
            advance();
            advance();
        } else {
            return;
        }
    }
}

Token Lexer::next() {
    skipSpaceAndComments();
    Token token{TokenKind::End, "", line_, column_};
    if (atEnd()) {
        return token;
    }
    const char c = peek();
    if (isNameStart(c)) {
        return identifier();
    }
    if (isDigit(c) || ((c == '+' || c == '-' || c == '.') &&
                       (isDigit(peek(1)) || (c != '.' && peek(1) == '.')))) {
        return number();
    }
    if (c == '"' || c == '\'') {
        return quoted(c);
    }
    if (c == '$') {
        return alias();
    }
    if (isPunct(c)) {
        token.kind = TokenKind::Punct;
        token.text = std::string(1, advance());
        return token;
    }
    fail(line_, column_, "unexpected character " + describeByte(c));
}

void Lexer::checkBound(const Token& token, std::size_t most, const char* what,
                       const char* unit) const {
    if (token.text.size() >= most) {
        fail(token.line, token.column,
             std::string(what) + " longer than " + std::to_string(most) + " " + unit);
    }
}

Token Lexer::identifier() {
    Token token{TokenKind::Identifier, "", line_, column_};
    while (!atEnd() && isNamePart(peek())) {
        checkBound(token, kMaxIdentifierBytes, "identifier", "characters");
        token.text += advance();
    }
    return token;
}

Token Lexer::alias() {
    Token token{TokenKind::Alias, "", line_, column_};
    advance();
    if (!isNameStart(peek())) {
        fail(token.line, token.column, "expected an alias name after '$'");
    }
    token.text = identifier().text;
    return token;
}

Token Lexer::number() {
    Token token{TokenKind::Integer, "", line_, column_};
    // Take the whole run of characters a number could be made of, then judge its shape, so that
    // "12ab" is one malformed number rather than a number followed by an identifier.
    if (peek() == '+' || peek() == '-') {
        token.text += advance();
    }
    while (!atEnd() && (isNamePart(peek()) || peek() == '.' ||
                        ((peek() == '+' || peek() == '-') &&
                         (token.text.back() == 'e' || token.text.back() == 'E')))) {
        checkBound(token, kMaxNumberBytes, "number", "characters");
        token.text += advance();
    }
    const std::size_t sign = (token.text[0] == '+' || token.text[0] == '-') ? 1 : 0;
    const std::string body = token.text.substr(sign);
    if (isIntegerBody(body)) {
        return token;
    }
    if (!isRealBody(body)) {
        fail(token.line, token.column, "malformed number '" + token.text + "'");
    }
    token.kind = TokenKind::Real;
    return token;
}

void Lexer::appendEscape(std::string& out) {
    // Each escape that stands for one character: the letter after the backslash, the character.
    static constexpr char kSingle[][2] = {{'b', '\b'}, {'t', '\t'}, {'n', '\n'},  {'f', '\f'},
                                          {'r', '\r'}, {'"', '"'},  {'\'', '\''}, {'\\', '\\'}};
    const int line = line_;
    const int column = column_;
    advance();  // the backslash
    if (atEnd()) {
        fail(line, column, "unterminated escape sequence");
    }
    const char c = advance();
    for (const auto& single : kSingle) {
        if (c == single[0]) {
            out += single[1];
            return;
        }
    }
    if (c != 'x' && c != 'X') {
        fail(line, column,
             std::string("unknown escape sequence \\") +
                 (c >= 0x20 && c < 0x7F ? std::string(1, c) : describeByte(c)));
    }
    unsigned codePoint = 0;
    int digits = 0;
    while (digits < 4 && isHexDigit(peek())) {
        const char h = advance();
        codePoint =
            codePoint * 16 + static_cast<unsigned>(isDigit(h) ? h - '0' : (h | 0x20) - 'a' + 10);
        ++digits;
    }
    if (digits == 0) {
        fail(line, column, "expected hex digits after \\x");
    }
    cimp::appendUtf8(out, codePoint);
}

Token Lexer::quoted(char quote) {
    const TokenKind kind = quote == '"' ? TokenKind::String : TokenKind::Char;
    Token token{kind, "", line_, column_};
    const char* what = kind == TokenKind::String ? "string literal" : "character literal";
    advance();  // the opening quote
    while (peek() != quote) {
        if (atEnd() || peek() == '\n') {
            fail(token.line, token.column, std::string("unterminated ") + what);
        }
        checkBound(token, kMaxLiteralBytes, what, "bytes");
        if (peek() == '\\') {
            appendEscape(token.text);
        } else {
            token.text += advance();
        }
    }
    advance();  // the closing quote
    if (kind == TokenKind::Char && utf8Length(token.text) != 1) {
        fail(token.line, token.column, "a character literal holds exactly one character");
    }
    return token;
}

}  // namespace cimmof
