#include "platform/sim/tools/trace_format_scanner.h"

#include <cctype>
#include <cstdio>

#include "platform/trace_point.h"

namespace cimpsim {

namespace {

constexpr char kMacro[] = "CIMP_TRACE";

bool isIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// A cursor over one source text that knows the current line.
class Lexer {
  public:
    explicit Lexer(const std::string& source) : s_(source) {}

    bool atEnd() const { return i_ >= s_.size(); }
    char peek(size_t ahead = 0) const { return i_ + ahead < s_.size() ? s_[i_ + ahead] : '\0'; }
    unsigned line() const { return line_; }

    void advance() {
        if (s_[i_] == '\n') {
            ++line_;
        }
        ++i_;
    }

    // Skips a comment starting here; false when none starts here.
    bool skipComment() {
        if (peek() == '/' && peek(1) == '/') {
            while (!atEnd() && peek() != '\n') {
                advance();
            }
            return true;
        }
        if (peek() == '/' && peek(1) == '*') {
            advance();
            advance();
            while (!atEnd() && !(peek() == '*' && peek(1) == '/')) {
                advance();
            }
            if (!atEnd()) {
                advance();
                advance();
            }
            return true;
        }
        return false;
    }

    void skipBlanksAndComments() {
        while (!atEnd()) {
            if (std::isspace(static_cast<unsigned char>(peek())) != 0) {
                advance();
            } else if (!skipComment()) {
                return;
            }
        }
    }

    // A directive runs to the end of its line, continued lines included.
    void skipDirective() {
        while (!atEnd() && peek() != '\n') {
            if (peek() == '\\' && peek(1) == '\n') {
                advance();
            }
            advance();
        }
    }

    // Skips the literal starting at the quote here (quote is '"' or '\''); false if unterminated.
    bool skipQuoted() {
        char quote = peek();
        advance();
        while (!atEnd() && peek() != quote) {
            if (peek() == '\n') {
                return false;
            }
            if (peek() == '\\') {
                advance();
                if (atEnd()) {
                    return false;
                }
            }
            advance();
        }
        if (atEnd()) {
            return false;
        }
        advance();
        return true;
    }

    // Skips a raw string literal whose R is here.
    void skipRawString() {
        advance();
        advance();
        std::string delimiter;
        while (!atEnd() && peek() != '(' && delimiter.size() < 16) {
            delimiter += peek();
            advance();
        }
        std::string closing = ")" + delimiter + "\"";
        while (!atEnd() && s_.compare(i_, closing.size(), closing) != 0) {
            advance();
        }
        for (size_t n = 0; n < closing.size() && !atEnd(); ++n) {
            advance();
        }
    }

    // An identifier or a number; digit separators (1'000) belong to the number.
    std::string identifier() {
        size_t start = i_;
        bool number = std::isdigit(static_cast<unsigned char>(peek())) != 0;
        while (!atEnd() && (isIdentifierChar(peek()) ||
                            (number && peek() == '\'' && isIdentifierChar(peek(1))))) {
            advance();
        }
        return s_.substr(start, i_ - start);
    }

    // Decodes the plain string literal starting here into `out`; false with a reason otherwise.
    bool stringLiteral(std::string& out, std::string& reason) {
        if (peek() != '"') {
            reason = "expected a string literal";
            return false;
        }
        advance();
        out.clear();
        while (!atEnd() && peek() != '"') {
            if (peek() == '\n') {
                reason = "unterminated string literal";
                return false;
            }
            if (peek() != '\\') {
                out += peek();
                advance();
            } else if (!escape(out, reason)) {
                return false;
            }
        }
        if (atEnd()) {
            reason = "unterminated string literal";
            return false;
        }
        advance();
        return true;
    }

    // Skips one macro argument up to its top-level ',' or ')'; false if the source ends first.
    bool skipArgument() {
        int depth = 0;
        while (!atEnd()) {
            char c = peek();
            if (depth == 0 && (c == ',' || c == ')')) {
                return true;
            }
            if (skipComment()) {
                continue;
            }
            if (c == '"' || c == '\'') {
                if (!skipQuoted()) {
                    return false;
                }
                continue;
            }
            if (c == '(' || c == '[' || c == '{') {
                ++depth;
            } else if (c == ')' || c == ']' || c == '}') {
                --depth;
            }
            advance();
        }
        return false;
    }

  private:
    bool escape(std::string& out, std::string& reason) {
        advance();
        char c = peek();
        static const std::string simple = "ntrabfv\\\"'?";
        static const std::string meaning = "\n\t\r\a\b\f\v\\\"'?";
        size_t known = simple.find(c);
        if (c != '\0' && known != std::string::npos) {
            out += meaning[known];
            advance();
            return true;
        }
        if (c >= '0' && c <= '7') {
            int value = 0;
            for (int n = 0; n < 3 && peek() >= '0' && peek() <= '7'; ++n) {
                value = value * 8 + (peek() - '0');
                advance();
            }
            out += static_cast<char>(value);
            return true;
        }
        if (c == 'x' && hexValue(peek(1)) >= 0) {
            advance();
            int value = 0;
            while (hexValue(peek()) >= 0) {
                value = (value * 16 + hexValue(peek())) & 0xFF;
                advance();
            }
            out += static_cast<char>(value);
            return true;
        }
        reason = std::string("unsupported escape sequence \\") + c;
        return false;
    }

    const std::string& s_;
    size_t i_ = 0;
    unsigned line_ = 1;
};

bool parseInvocation(Lexer& lexer, std::string& format, std::string& reason) {
    lexer.skipBlanksAndComments();
    if (!lexer.skipArgument() || lexer.peek() != ',') {
        reason = "expected the argument-type string and a format";
        return false;
    }
    lexer.advance();
    lexer.skipBlanksAndComments();
    if (!lexer.stringLiteral(format, reason)) {
        reason = "format must be a single string literal: " + reason;
        return false;
    }
    lexer.skipBlanksAndComments();
    if (lexer.peek() != ',' && lexer.peek() != ')') {
        reason = "format must be a single string literal, followed by ',' or ')'";
        return false;
    }
    return true;
}

}  // namespace

bool scanTraceFormats(const std::string& file, const std::string& source,
                      std::vector<TraceFormatSite>& sites, ScanError& error) {
    Lexer lexer(source);
    bool lineStart = true;
    while (!lexer.atEnd()) {
        char c = lexer.peek();
        if (c == '\n') {
            lineStart = true;
            lexer.advance();
        } else if (std::isspace(static_cast<unsigned char>(c)) != 0) {
            lexer.advance();
        } else if (lexer.skipComment()) {
            continue;
        } else if (c == '#' && lineStart) {
            lexer.skipDirective();
        } else if (c == 'R' && lexer.peek(1) == '"') {
            lexer.skipRawString();
            lineStart = false;
        } else if (c == '"' || c == '\'') {
            if (!lexer.skipQuoted()) {
                error = {file, lexer.line(), "unterminated literal"};
                return false;
            }
            lineStart = false;
        } else if (isIdentifierChar(c)) {
            unsigned line = lexer.line();
            std::string word = lexer.identifier();
            lineStart = false;
            if (word != kMacro) {
                continue;
            }
            lexer.skipBlanksAndComments();
            if (lexer.peek() != '(') {
                continue;  // the name alone, not an invocation
            }
            lexer.advance();
            std::string format;
            std::string reason;
            if (!parseInvocation(lexer, format, reason)) {
                error = {file, line, std::string(kMacro) + ": " + reason};
                return false;
            }
            sites.push_back({cimp::traceFormatId(format.c_str()), format, file, line});
        } else {
            lexer.advance();
            lineStart = false;
        }
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
