#include "platform/sim/tools/trace_format_scanner.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/trace_point.h"

namespace cimpsim {

namespace {

constexpr char kMacro[] = "CIMP_TRACE";

bool isIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

struct Token {
    enum class Kind { End, Word, Literal, Unterminated, Other };
    Kind kind;
    std::string text;  // as written in the source
    unsigned line;
};

// The tokens of one source text, with blanks, comments and preprocessor directives skipped.
// Words are identifiers and numbers (digit separators included); literals are quoted or raw
// strings and characters; anything else is one character.
class Lexer {
  public:
    explicit Lexer(const std::string& source) : s_(source) {}

    Token next() {
        skipBlanks();
        const size_t start = i_;
        const unsigned line = line_;
        const Token::Kind kind = lex();
        lineStart_ = false;
        return {kind, s_.substr(start, i_ - start), line};
    }

  private:
    char peek(size_t ahead = 0) const { return i_ + ahead < s_.size() ? s_[i_ + ahead] : '\0'; }
    bool at(const char* text) const { return s_.compare(i_, std::strlen(text), text) == 0; }

    void advance(size_t count = 1) {
        for (; count > 0 && i_ < s_.size(); --count) {
            if (s_[i_++] == '\n') {
                ++line_;
                lineStart_ = true;
            }
        }
    }

    // Moves past the next `end`, or to the end of the source.
    void skipPast(const std::string& end) {
        const size_t found = s_.find(end, i_);
        advance(found == std::string::npos ? s_.size() - i_ : found + end.size() - i_);
    }

    void skipBlanks() {
        for (;;) {
            if (std::isspace(static_cast<unsigned char>(peek())) != 0) {
                advance();
            } else if (at("//")) {
                skipPast("\n");
            } else if (at("/*")) {
                advance(2);
                skipPast("*/");
            } else if (peek() == '#' && lineStart_) {
                // A directive runs to the end of its line, continued lines included.
                while (i_ < s_.size() && peek() != '\n') {
                    advance(at("\\\n") ? 2 : 1);
                }
            } else {
                return;
            }
        }
    }

    Token::Kind lex() {
        const size_t start = i_;
        const char c = peek();
        if (i_ >= s_.size()) {
            return Token::Kind::End;
        }
        if (isIdentifierChar(c)) {
            const bool number = std::isdigit(static_cast<unsigned char>(c)) != 0;
            while (isIdentifierChar(peek()) ||
                   (number && peek() == '\'' && isIdentifierChar(peek(1)))) {
                advance();
            }
            return i_ == start + 1 && c == 'R' && peek() == '"' ? rawString() : Token::Kind::Word;
        }
        advance();
        if (c != '"' && c != '\'') {
            return Token::Kind::Other;
        }
        while (i_ < s_.size() && peek() != c && peek() != '\n') {
            advance(peek() == '\\' ? 2 : 1);
        }
        if (peek() != c) {
            return Token::Kind::Unterminated;
        }
        advance();
        return Token::Kind::Literal;
    }

    // R"delimiter( ... )delimiter", the R read.
    Token::Kind rawString() {
        advance();
        const size_t open = std::min(s_.find('(', i_), i_ + 16);
        skipPast(")" + s_.substr(i_, open - i_) + "\"");
        return Token::Kind::Literal;
    }

    const std::string& s_;
    size_t i_ = 0;
    unsigned line_ = 1;
    bool lineStart_ = true;
};

// The bytes of the plain string literal `literal` (quotes included) into `out`, escapes resolved.
bool decodeLiteral(const std::string& literal, std::string& out, std::string& reason) {
    static const std::string simple = "ntrabfv\\\"'?";
    static const std::string meaning = "\n\t\r\a\b\f\v\\\"'?";
    const size_t end = literal.size() - 1;
    out.clear();
    for (size_t i = 1; i < end;) {
        const char c = literal[i++];
        const char escaped = literal[i];
        if (c != '\\') {
            out += c;
        } else if (simple.find(escaped) != std::string::npos) {
            out += meaning[simple.find(escaped)];
            ++i;
        } else if (escaped >= '0' && escaped <= '7') {
            // Up to three octal digits.
            const size_t digits = std::min(literal.find_first_not_of("01234567", i), i + 3);
            out += static_cast<char>(std::stoi(literal.substr(i, digits - i), nullptr, 8));
            i = digits;
        } else if (escaped == 'x' && std::isxdigit(static_cast<unsigned char>(literal[i + 1]))) {
            // As many hex digits as follow; the last two make the byte.
            const size_t digits = literal.find_first_not_of("0123456789abcdefABCDEF", i + 1);
            const size_t first = std::max(i + 1, digits - 2);
            out += static_cast<char>(std::stoi(literal.substr(first, digits - first), nullptr, 16));
            i = digits;
        } else {
            reason = std::string("unsupported escape sequence \\") + escaped;
            return false;
        }
    }
    return true;
}

// The format of an invocation whose '(' was read, up to the ',' or ')' after it.
bool parseInvocation(Lexer& lexer, std::string& format, std::string& reason) {
    // The argument types: anything up to the first ',' outside brackets.
    Token token = lexer.next();
    for (int depth = 0; token.kind != Token::Kind::End && token.kind != Token::Kind::Unterminated &&
                        (depth > 0 || (token.text != "," && token.text != ")"));
         token = lexer.next()) {
        depth += token.text == "(" || token.text == "[" || token.text == "{";
        depth -= token.text == ")" || token.text == "]" || token.text == "}";
    }
    if (token.text != ",") {
        reason = "expected the argument-type string and a format";
        return false;
    }
    token = lexer.next();
    if (token.kind == Token::Kind::Unterminated) {
        reason = "unterminated string literal";
    } else if (token.kind != Token::Kind::Literal || token.text[0] != '"') {
        reason = "expected a string literal";
    }
    if (!reason.empty() || !decodeLiteral(token.text, format, reason)) {
        reason = "format must be a single string literal: " + reason;
        return false;
    }
    token = lexer.next();
    if (token.text != "," && token.text != ")") {
        reason = "format must be a single string literal, followed by ',' or ')'";
        return false;
    }
    return true;
}

}  // namespace

bool scanTraceFormats(const std::string& file, const std::string& source,
                      std::vector<TraceFormatSite>& sites, ScanError& error) {
    Lexer lexer(source);
    Token token = lexer.next();
    while (token.kind != Token::Kind::End) {
        if (token.kind == Token::Kind::Unterminated) {
            error = {file, token.line, "unterminated literal"};
            return false;
        }
        const bool macro = token.kind == Token::Kind::Word && token.text == kMacro;
        const unsigned line = token.line;
        token = lexer.next();
        if (!macro || token.text != "(") {
            continue;  // anything else, or the name alone, not an invocation
        }
        std::string format;
        std::string reason;
        if (!parseInvocation(lexer, format, reason)) {
            error = {file, line, std::string(kMacro) + ": " + reason};
            return false;
        }
        sites.push_back({cimp::traceFormatId(format.c_str()), format, file, line});
        token = lexer.next();
    }
    return true;
}

bool buildFormatTable(const std::vector<TraceFormatSite>& sites,
                      std::map<uint32_t, std::string>& table, ScanError& error) {
    std::map<uint32_t, const TraceFormatSite*> first;
    for (const TraceFormatSite& site : sites) {
        auto found = first.emplace(site.id, &site);
        if (!found.second && found.first->second->text != site.text) {
            const TraceFormatSite& other = *found.first->second;
            char id[16];
            std::snprintf(id, sizeof id, "0x%08X", static_cast<unsigned>(site.id));
            error = {site.file, site.line,
                     "format \"" + site.text + "\" has the id " + id + " of \"" + other.text +
                         "\" at " + other.file + ":" + std::to_string(other.line) +
                         "; reword one of them"};
            return false;
        }
        table[site.id] = site.text;
    }
    return true;
}

std::string renderFormatTableSource(const std::map<uint32_t, std::string>& table) {
    std::string out =
        "// Generated at build time by cimp-trace-formats from the provider's trace points.\n"
        "#include \"platform/sim/printer/trace_format_table.h\"\n\n"
        "namespace cimpsim {\n\n"
        "const TraceFormatText kTraceFormats[] = {\n";
    for (const auto& entry : table) {
        char id[16];
        std::snprintf(id, sizeof id, "0x%08Xu", static_cast<unsigned>(entry.first));
        out += "    {";
        out += id;
        out += ", \"";
        for (unsigned char c : entry.second) {
            if (c == '"' || c == '\\') {
                out += '\\';
                out += static_cast<char>(c);
            } else if (c >= 0x20 && c < 0x7F && c != '?') {
                out += static_cast<char>(c);
            } else {
                char octal[8];
                std::snprintf(octal, sizeof octal, "\\%03o", c);
                out += octal;
            }
        }
        out += "\"},\n";
    }
    out += "    {0u, nullptr}};\n\n";
    out += "const size_t kTraceFormatCount = " + std::to_string(table.size()) + ";\n\n";
    out += "}  // namespace cimpsim\n";
    return out;
}

}  // namespace cimpsim
