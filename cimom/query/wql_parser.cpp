#include "cimom/query/wql_parser.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <utility>
#include <vector>

#include "base/text_case.h"
#include "cimom/query/wql_lexer.h"

namespace cimquery {
namespace {

using cimp::equalsIgnoreCase;

bool isKeyword(const std::string& word) {
    static const char* const keywords[] = {"SELECT", "FROM", "WHERE", "AND",  "OR",   "NOT",
                                           "IS",     "NULL", "ISA",   "LIKE", "TRUE", "FALSE"};
    return std::any_of(std::begin(keywords), std::end(keywords),
                       [&word](const char* keyword) { return equalsIgnoreCase(word, keyword); });
}

// Recursive descent over the token list. The first fault ends the parse: every rule returns
// false once error_ is set, and the callers return at once.
class Parser {
  public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    ParsedQuery run() {
        ParsedQuery result;
        if (!parseQuery(result.query)) {
            result.error = error_;
        }
        return result;
    }

  private:
    const Token& peek() const { return tokens_[at_]; }

    bool fail(std::size_t position, std::string message) {
        error_ = QueryError{position, std::move(message)};
        return false;
    }

    bool failHere(const std::string& expected) {
        const Token& t = peek();
        if (t.kind == Token::Kind::Error) {
            return fail(t.position, t.text);
        }
        const std::string found =
            t.kind == Token::Kind::End ? "the end of the query" : "'" + t.text + "'";
        return fail(t.position, "expected " + expected + ", found " + found);
    }

    // Takes the next token when it is the keyword `text` (any case) or the symbol `text`.
    bool accept(const char* text) {
        const Token& t = peek();
        if ((t.kind == Token::Kind::Word && equalsIgnoreCase(t.text, text)) ||
            (t.kind == Token::Kind::Symbol && t.text == text)) {
            ++at_;
            return true;
        }
        return false;
    }

    bool name(std::string& out, std::size_t& position, const char* what) {
        if (peek().kind != Token::Kind::Word || isKeyword(peek().text)) {
            return failHere(what);
        }
        out = peek().text;
        position = peek().position;
        ++at_;
        return true;
    }

    bool parseQuery(Query& query) {
        if (!accept("SELECT")) {
            return failHere("SELECT");
        }
        if (!accept("*")) {
            do {
                PropertyName property;
                if (!name(property.name, property.position, "a property name or *")) {
                    return false;
                }
                query.selected.push_back(std::move(property));
            } while (accept(","));
        }
        if (!accept("FROM")) {
            return failHere("FROM");
        }
        if (!name(query.className, query.classPosition, "a class name")) {
            return false;
        }
        if (accept("WHERE")) {
            query.where.emplace();
            if (!parseOr(*query.where, 1)) {
                return false;
            }
        }
        return peek().kind == Token::Kind::End || failHere("the end of the query");
    }

    bool parseOr(Condition& out, std::size_t depth) {
        return parseChain(out, depth, "OR", Condition::Kind::Or, &Parser::parseAnd);
    }

    bool parseAnd(Condition& out, std::size_t depth) {
        return parseChain(out, depth, "AND", Condition::Kind::And, &Parser::parseNot);
    }

    // operand (WORD operand)*, folded to the left.
    bool parseChain(Condition& out, std::size_t depth, const char* word, Condition::Kind kind,
                    bool (Parser::*operand)(Condition&, std::size_t)) {
        if (!(this->*operand)(out, depth)) {
            return false;
        }
        while (accept(word)) {
            Condition right;
            if (!(this->*operand)(right, depth)) {
                return false;
            }
            Condition both;
            both.kind = kind;
            both.children.push_back(std::move(out));
            both.children.push_back(std::move(right));
            out = std::move(both);
        }
        return true;
    }

    bool parseNot(Condition& out, std::size_t depth) {
        if (depth > kMaxConditionDepth) {
            return fail(peek().position, "conditions nested deeper than " +
                                             std::to_string(kMaxConditionDepth) + " levels");
        }
        if (accept("NOT")) {
            out.kind = Condition::Kind::Not;
            out.children.emplace_back();
            return parseNot(out.children.back(), depth + 1);
        }
        if (accept("(")) {
            if (!parseOr(out, depth + 1)) {
                return false;
            }
            return accept(")") || failHere("')'");
        }
        return parsePredicate(out);
    }

    bool parsePredicate(Condition& out) {
        if (!parseOperand(out.left)) {
            return false;
        }
        const std::size_t position = peek().position;
        if (accept("IS")) {
            out.kind = accept("NOT") ? Condition::Kind::IsNotNull : Condition::Kind::IsNull;
            return accept("NULL") || failHere("NULL");
        }
        if (accept("ISA")) {
            out.kind = Condition::Kind::IsA;
            std::size_t classPosition = 0;
            return (out.left.isProperty ||
                    fail(out.left.position, "ISA needs a property on its left")) &&
                   name(out.className, classPosition, "a class name");
        }
        if (accept("LIKE")) {
            return fail(position, "LIKE is not supported");
        }
        static const std::pair<const char*, Comparison> comparisons[] = {
            {"=", Comparison::Equal},           {"<>", Comparison::NotEqual},
            {"!=", Comparison::NotEqual},       {"<=", Comparison::LessOrEqual},
            {">=", Comparison::GreaterOrEqual}, {"<", Comparison::Less},
            {">", Comparison::Greater}};
        for (const auto& entry : comparisons) {
            if (accept(entry.first)) {
                out.kind = Condition::Kind::Compare;
                out.comparison = entry.second;
                return parseOperand(out.right);
            }
        }
        return failHere("a comparison, IS or ISA");
    }

    bool parseOperand(Operand& out) {
        const Token& t = peek();
        out.position = t.position;
        if (t.kind == Token::Kind::String) {
            out.literal = QueryValue::ofString(t.text);
        } else if (t.kind == Token::Kind::Number) {
            out.literal = QueryValue::ofNumber(std::strtold(t.text.c_str(), nullptr));
        } else if (t.kind == Token::Kind::Word && equalsIgnoreCase(t.text, "TRUE")) {
            out.literal = QueryValue::ofBoolean(true);
        } else if (t.kind == Token::Kind::Word && equalsIgnoreCase(t.text, "FALSE")) {
            out.literal = QueryValue::ofBoolean(false);
        } else if (t.kind == Token::Kind::Word && equalsIgnoreCase(t.text, "NULL")) {
            out.literal = QueryValue::null();
        } else {
            out.isProperty = true;
            return name(out.property, out.position, "a property or a literal");
        }
        ++at_;
        return true;
    }

    std::vector<Token> tokens_;
    std::size_t at_ = 0;
    QueryError error_;
};

}  // namespace

std::string QueryError::describe() const {
    return message + " at position " + std::to_string(position);
}

ParsedQuery parseWql(const std::string& text) {
    if (text.size() > kMaxQueryLength) {
        return {Query(),
                QueryError{kMaxQueryLength + 1,
                           "query longer than " + std::to_string(kMaxQueryLength) + " characters"}};
    }
    return Parser(tokenizeWql(text)).run();
}

}  // namespace cimquery
