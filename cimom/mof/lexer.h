// Lexer: turns MOF text into tokens, skipping white space and comments. String and character
// literals come out decoded (escapes resolved, \x given as UTF-8); numbers keep their spelling.
// Every token and every error carries its 1-based line and column. Token sizes are bounded, so
// hostile text ends in a MofError, never in unbounded memory. The lexer borrows the text, which
// must outlive it; one lexer serves one thread.
#pragma once

#include <cstddef>
#include <string>

#include "cimom/mof/mof_error.h"

namespace cimmof {

enum class TokenKind { End, Identifier, String, Char, Integer, Real, Alias, Punct };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;  // identifier, decoded literal, number as written, alias name, punctuator
    int line = 0;
    int column = 0;
};

class Lexer {
  public:
    static constexpr std::size_t kMaxLiteralBytes = 64 * 1024;
    static constexpr std::size_t kMaxIdentifierBytes = 256;
    static constexpr std::size_t kMaxNumberBytes = 64;

    Lexer(const std::string& text, std::string file);

    Token next();
    const std::string& file() const { return file_; }
    [[noreturn]] void fail(int line, int column, const std::string& message) const;

  private:
    bool atEnd() const { return pos_ >= text_.size(); }
    char peek(std::size_t ahead = 0) const;
    char advance();
    void skipSpaceAndComments();
    // Fails at `token` once it holds `most` bytes: "<what> longer than <most> <unit>".
    void checkBound(const Token& token, std::size_t most, const char* what, const char* unit) const;
    Token identifier();
    Token alias();
    Token number();
    // A string literal between '"' or a character literal between '\''.
    Token quoted(char quote);
    void appendEscape(std::string& out);

    const std::string& text_;
    std::string file_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int column_ = 1;
};

}  // namespace cimmof
