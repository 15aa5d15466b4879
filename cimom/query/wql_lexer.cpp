#include "cimom/query/wql_lexer.h"

#include <algorithm>

#include "cimom/mof/name_chars.h"

namespace cimquery {
namespace {

using cimmof::isDigit;
using cimmof::isNamePart;
using cimmof::isNameStart;

class Lexer {
  public:
    explicit Lexer(const std::string& text) : text_(text) {}

    std::vector<Token> run() {
        std::vector<Token> tokens;
        while (true) {
            at_ = std::min(text_.find_first_not_of(" \t\r\n", at_), text_.size());
            tokens.push_back(next());
            if (tokens.back().kind == Token::Kind::End ||
                tokens.back().kind == Token::Kind::Error) {
                return tokens;
            }
        }
    }

  private:
    char peek(std::size_t ahead = 0) const {
        return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0';
    }

    Token make(Token::Kind kind, std::size_t start, std::string text) const {
        return Token{kind, std::move(text), start + 1};
    }

    Token next() {
        const std::size_t start = at_;
        const char c = peek();
        if (at_ >= text_.size()) {
            return make(Token::Kind::End, start, "");
        }
        if (isNameStart(c)) {
            do {
                ++at_;
                skipWhile(isNamePart);
            } while (peek() == '.' && isNameStart(peek(1)));
            return make(Token::Kind::Word, start, text_.substr(start, at_ - start));
        }
        if (isDigit(c) || ((c == '-' || c == '+' || c == '.') &&
                           (isDigit(peek(1)) || (peek(1) == '.' && isDigit(peek(2)))))) {
            return number(start);
        }
        if (c == '\'' || c == '"') {
            return quoted(start, c);
        }
        for (const char* symbol : {"<>", "!=", "<=", ">=", "=", "<", ">", "(", ")", "*", ","}) {
            if (text_.compare(at_, std::char_traits<char>::length(symbol), symbol) == 0) {
                at_ += std::char_traits<char>::length(symbol);
                return make(Token::Kind::Symbol, start, symbol);
            }
        }
        return make(Token::Kind::Error, start, std::string("unexpected character '") + c + "'");
    }

    void skipWhile(bool (*part)(char)) {
        while (part(peek())) {
            ++at_;
        }
    }

    Token number(std::size_t start) {
        if (peek() == '-' || peek() == '+') {
            ++at_;
        }
        skipWhile(isDigit);
        if (peek() == '.') {
            ++at_;
            skipWhile(isDigit);
        }
        if ((peek() == 'e' || peek() == 'E') &&
            (isDigit(peek(1)) || ((peek(1) == '-' || peek(1) == '+') && isDigit(peek(2))))) {
            at_ += 2;
            skipWhile(isDigit);
        }
        if (isNamePart(peek())) {
            return make(Token::Kind::Error, at_, "a number runs into a name");
        }
        return make(Token::Kind::Number, start, text_.substr(start, at_ - start));
    }

    Token quoted(std::size_t start, char quote) {
        std::string value;
        ++at_;
        while (at_ < text_.size() && text_[at_] != quote) {
            if (text_[at_] == '\\' && (peek(1) == quote || peek(1) == '\\')) {
                ++at_;
            }
            value += text_[at_++];
        }
        if (at_ >= text_.size()) {
            return make(Token::Kind::Error, start, "string not closed");
        }
        ++at_;
        return make(Token::Kind::String, start, value);
    }

    const std::string& text_;
    std::size_t at_ = 0;
};

}  // namespace

std::vector<Token> tokenizeWql(const std::string& text) {
    return Lexer(text).run();
}

}  // namespace cimquery
