#include "cimom/mof/mof_writer.h"

#include <cstdio>

#include "cimom/mof/lexer.h"

namespace cimmof {
namespace {

// The one token `text` lexes to, when it lexes to exactly one; the lexer decides, so the writer
// never restates its rules.
bool lexesToOne(const std::string& text, TokenKind kind, const std::string& tokenText) {
    try {
        Lexer lexer(text, "");
        const Token token = lexer.next();
        return token.kind == kind && token.text == tokenText && lexer.next().kind == TokenKind::End;
    } catch (const MofError&) {
        return false;
    }
}

bool isBareValue(const std::string& value) {
    return value == "true" || value == "false" || lexesToOne(value, TokenKind::Integer, value) ||
           lexesToOne(value, TokenKind::Real, value);
}

// The escape the lexer reads back to `c`, or empty when `c` stands for itself.
std::string escapeOf(char c) {
    switch (c) {
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        case '\n':
            return "\\n";
        case '\t':
            return "\\t";
        case '\r':
            return "\\r";
        case '\b':
            return "\\b";
        case '\f':
            return "\\f";
        default:
            break;
    }
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
        return "";
    }
    // Always four digits: the lexer reads up to four, so a shorter escape would swallow a
    // following hex digit.
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%04X", static_cast<unsigned>(byte));
    return buf;
}

std::string stringLiteral(const std::string& value) {
    std::string out = "\"";
    for (const char c : value) {
        const std::string escape = escapeOf(c);
        out += escape.empty() ? std::string(1, c) : escape;
    }
    return out + "\"";
}

std::string scalar(const std::string& value) {
    return isBareValue(value) ? value : stringLiteral(value);
}

std::string arrayLiteral(const std::vector<std::string>& elements) {
    std::string out = "{";
    for (std::size_t i = 0; i < elements.size(); ++i) {
        out += (i == 0 ? "" : ", ") + scalar(elements[i]);
    }
    return out + "}";
}

cimp::Outcome checkName(const std::string& name, const std::string& where) {
    if (lexesToOne(name, TokenKind::Identifier, name)) {
        return cimp::Outcome::success();
    }
    return cimp::Outcome::failed(where, "'" + name + "' is not a MOF identifier");
}

cimp::Outcome checkLength(const std::string& value, const std::string& where) {
    if (value.size() <= Lexer::kMaxLiteralBytes) {
        return cimp::Outcome::success();
    }
    return cimp::Outcome::failed(
        where, "value longer than " + std::to_string(Lexer::kMaxLiteralBytes) + " bytes");
}

// A qualifier's or a property's name and value, `where` naming it in the error.
cimp::Outcome checkNamedValue(const std::string& name, const std::string& value,
                              const std::vector<std::string>& elements, const std::string& where) {
    cimp::Outcome outcome = checkName(name, where);
    if (outcome.ok()) {
        outcome = checkLength(value, where);
    }
    for (std::size_t i = 0; outcome.ok() && i < elements.size(); ++i) {
        outcome = checkLength(elements[i], where);
    }
    return outcome;
}

cimp::Outcome writeQualifiers(const std::vector<Qualifier>& qualifiers, const std::string& where,
                              std::string* text) {
    if (qualifiers.empty()) {
        return cimp::Outcome::success();
    }
    std::string list;
    for (const Qualifier& q : qualifiers) {
        const cimp::Outcome outcome =
            checkNamedValue(q.name, q.value, q.elements, where + " qualifier " + q.name);
        if (!outcome.ok()) {
            return outcome;
        }
        list += (list.empty() ? "" : ", ") + q.name +
                (q.isArray ? arrayLiteral(q.elements) : "(" + scalar(q.value) + ")");
    }
    *text += "[" + list + "]\n";
    return cimp::Outcome::success();
}

std::string valueText(const PropertyValue& v) {
    if (v.isNull) {
        return "NULL";
    }
    return v.isArray ? arrayLiteral(v.elements) : scalar(v.value);
}

cimp::Outcome writeInstance(const InstanceDecl& inst, std::string* text) {
    const std::string where = "instance of " + inst.className;
    cimp::Outcome outcome = checkName(inst.className, where);
    if (outcome.ok() && !inst.alias.empty() &&
        !lexesToOne("$" + inst.alias, TokenKind::Alias, inst.alias)) {
        outcome = cimp::Outcome::failed(where, "'" + inst.alias + "' is not a MOF alias name");
    }
    if (outcome.ok()) {
        outcome = writeQualifiers(inst.qualifiers, where, text);
    }
    std::string body;
    for (std::size_t i = 0; outcome.ok() && i < inst.values.size(); ++i) {
        const PropertyValue& v = inst.values[i];
        outcome = checkNamedValue(v.name, v.value, v.elements, where + " property " + v.name);
        body += "    " + v.name + " = " + valueText(v) + ";\n";
    }
    if (outcome.ok()) {
        *text += "instance of " + inst.className +
                 (inst.alias.empty() ? "" : " as $" + inst.alias) + " {\n" + body + "};\n";
    }
    return outcome;
}

}  // namespace

cimp::Outcome writeMofInstances(const std::vector<InstanceDecl>& instances, std::string* text) {
    std::string out;
    for (const InstanceDecl& inst : instances) {
        const cimp::Outcome outcome = writeInstance(inst, &out);
        if (!outcome.ok()) {
            return outcome;
        }
        out += "\n";
    }
    *text = std::move(out);
    return cimp::Outcome::success();
}

}  // namespace cimmof
