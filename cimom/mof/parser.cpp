#include "cimom/mof/parser.h"

#include <charconv>
#include <climits>
#include <utility>

#include "base/text_case.h"

namespace cimmof {
namespace {

const char* const kDataTypes[] = {"string", "boolean", "datetime", "char16", "uint8",
                                  "sint8",  "uint16",  "sint16",   "uint32", "sint32",
                                  "uint64", "sint64",  "real32",   "real64", nullptr};
const char* const kFlavors[] = {"EnableOverride", "DisableOverride", "Restricted", "ToSubclass",
                                "ToInstance",     "Translatable",    nullptr};
const char* const kScopes[] = {"class",     "association", "indication", "qualifier", "property",
                               "reference", "method",      "parameter",  "any",       nullptr};

bool listed(const char* const* names, const std::string& word) {
    for (; *names != nullptr; ++names) {
        if (cimp::equalsIgnoreCase(*names, word)) {
            return true;
        }
    }
    return false;
}

std::string describe(const Token& token) {
    switch (token.kind) {
        case TokenKind::End:
            return "end of file";
        case TokenKind::String:
            return token.text.size() > 24 ? "string \"" + token.text.substr(0, 24) + "...\""
                                          : "string \"" + token.text + "\"";
        case TokenKind::Char:
            return "character literal";
        case TokenKind::Integer:
        case TokenKind::Real:
            return "number " + token.text;
        case TokenKind::Alias:
            return "alias $" + token.text;
        case TokenKind::Identifier:
        case TokenKind::Punct:
            break;
    }
    return "'" + token.text + "'";
}

std::string joined(const std::vector<std::string>& elements) {
    std::string text;
    for (const std::string& e : elements) {
        text += text.empty() ? e : ", " + e;
    }
    return text;
}

// A declaration's name and where it stands: at its name.
template <class Declaration>
void placeAt(Declaration& declaration, const Token& name) {
    declaration.name = name.text;
    declaration.line = name.line;
    declaration.column = name.column;
}

bool declaresMember(const ClassDecl& cls, const std::string& name) {
    return findByName(cls.properties, name) != nullptr || findByName(cls.methods, name) != nullptr;
}

}  // namespace

Parser::Parser(Lexer& lexer, MofDocument& out, IncludeHandler onInclude)
    : lexer_(lexer), out_(out), onInclude_(std::move(onInclude)) {}

bool Parser::atPunct(char c) const {
    return tok_.kind == TokenKind::Punct && tok_.text[0] == c;
}

bool Parser::acceptPunct(char c) {
    if (!atPunct(c)) {
        return false;
    }
    shift();
    return true;
}

bool Parser::atKeyword(const char* keyword) const {
    return tok_.kind == TokenKind::Identifier && cimp::equalsIgnoreCase(tok_.text, keyword);
}

void Parser::failAt(const Token& token, const std::string& message) const {
    lexer_.fail(token.line, token.column, message);
}

void Parser::failExpected(const std::string& expected) const {
    failAt(tok_, "expected " + expected + ", found " + describe(tok_));
}

void Parser::expectPunct(char c, const std::string& context) {
    if (!atPunct(c)) {
        failExpected(std::string("'") + c + "' " + context);
    }
    shift();
}

void Parser::expectKeyword(const char* keyword, const std::string& context) {
    if (!atKeyword(keyword)) {
        failExpected(std::string("'") + keyword + "'" + context);
    }
    shift();
}

Token Parser::expectIdentifier(const std::string& what) {
    if (tok_.kind != TokenKind::Identifier) {
        failExpected(what);
    }
    Token token = tok_;
    shift();
    return token;
}

std::string Parser::expectDataType(const Token& typeToken) const {
    if (!listed(kDataTypes, typeToken.text)) {
        failAt(typeToken, "unknown data type '" + typeToken.text + "'");
    }
    return cimp::lowerCase(typeToken.text);
}

void Parser::parseAll() {
    shift();
    while (tok_.kind != TokenKind::End) {
        if (atPunct('#')) {
            parsePragma();
            continue;
        }
        std::vector<Qualifier> qualifiers = parseQualifierList();
        if (atKeyword("class")) {
            parseClass(std::move(qualifiers));
        } else if (atKeyword("instance")) {
            parseInstance(std::move(qualifiers));
        } else if (atKeyword("qualifier") && qualifiers.empty()) {
            parseQualifierType();
        } else {
            failExpected(qualifiers.empty() ? "'class', 'instance', 'qualifier' or '#pragma'"
                                            : "'class' or 'instance' after a qualifier list");
        }
    }
}

void Parser::parsePragma() {
    shift();  // '#'
    expectKeyword("pragma", " after '#'");
    const Token name = expectIdentifier("a pragma name");
    expectPunct('(', "after #pragma " + name.text);
    if (tok_.kind != TokenKind::String) {
        failExpected("a string argument to #pragma " + name.text);
    }
    const SourceLocation at{lexer_.file(), tok_.line, tok_.column};
    const std::string argument = concatenatedStrings();
    expectPunct(')', "to close #pragma " + name.text);
    // Namespace and locale are chosen by whoever loads the schema, so those pragmas carry nothing
    // here; only include changes what is read.
    if (cimp::equalsIgnoreCase(name.text, "include")) {
        onInclude_(argument, at);
    }
}

void Parser::parseClass(std::vector<Qualifier> qualifiers) {
    shift();  // 'class'
    const Token name = expectIdentifier("a class name");
    ClassDecl cls;
    placeAt(cls, name);
    cls.file = lexer_.file();
    cls.isAssociation = hasFlag(qualifiers, "Association");
    cls.isAbstract = hasFlag(qualifiers, "Abstract");
    cls.qualifiers = std::move(qualifiers);
    if (acceptPunct(':')) {
        cls.superclass = expectIdentifier("a superclass name after ':'").text;
    }
    expectPunct('{', "to open class " + cls.name);
    while (!atPunct('}')) {
        if (tok_.kind == TokenKind::End) {
            failAt(name, "class " + cls.name + " is not closed with '};'");
        }
        parseFeature(cls);
    }
    shift();
    expectPunct(';', "after the body of class " + cls.name);
    out_.classes.push_back(std::move(cls));
}

void Parser::parseFeature(ClassDecl& cls) {
    std::vector<Qualifier> qualifiers = parseQualifierList();
    Property p;
    parseMemberType(expectIdentifier("a property, reference or method in class " + cls.name), p);
    const Token name =
        expectIdentifier("a " + std::string(p.type == "ref" ? "reference" : "member") + " name");
    if (declaresMember(cls, name.text)) {
        failAt(name, "class " + cls.name + " declares '" + name.text + "' twice");
    }
    if (p.type != "ref" && atPunct('(')) {
        parseMethod(cls, name, p.type, std::move(qualifiers));
        return;
    }
    placeAt(p, name);
    p.isKey = hasFlag(qualifiers, "Key");
    p.qualifiers = std::move(qualifiers);
    p.classOrigin = cls.name;
    if (atPunct('[')) {
        if (p.type == "ref") {
            failAt(tok_, "a class cannot declare an array of references");
        }
        parseArraySuffix(p);
    }
    if (atPunct('=')) {
        const Literal value = parseDefault(p.isArray, "property");
        p.hasDefault = !value.isNull;
        p.defaultValue = value.value;
    }
    expectPunct(';', "after " + p.name);
    cls.properties.push_back(std::move(p));
}

void Parser::parseMethod(ClassDecl& cls, const Token& name, std::string returnType,
                         std::vector<Qualifier> qualifiers) {
    Method m;
    placeAt(m, name);
    m.returnType = std::move(returnType);
    m.qualifiers = std::move(qualifiers);
    shift();  // '('
    if (!atPunct(')')) {
        do {
            Property parameter = parseParameter();
            if (findByName(m.parameters, parameter.name) != nullptr) {
                lexer_.fail(parameter.line, parameter.column,
                            "method " + m.name + " has two parameters named " + parameter.name);
            }
            m.parameters.push_back(std::move(parameter));
        } while (acceptPunct(','));
    }
    expectPunct(')', "to close the parameters of " + m.name);
    expectPunct(';', "after method " + m.name);
    cls.methods.push_back(std::move(m));
}

void Parser::parseMemberType(const Token& type, Property& p) {
    if (atKeyword("ref")) {
        shift();
        p.type = "ref";
        p.refClass = type.text;
    } else {
        p.type = expectDataType(type);
    }
}

Property Parser::parseParameter() {
    Property p;
    p.qualifiers = parseQualifierList();
    parseMemberType(expectIdentifier("a parameter type"), p);
    placeAt(p, expectIdentifier("a parameter name"));
    if (atPunct('[')) {
        parseArraySuffix(p);
    }
    return p;
}

void Parser::parseArraySuffix(Property& property) {
    shift();  // '['
    property.isArray = true;
    if (tok_.kind == TokenKind::Integer) {
        const char* end = tok_.text.data() + tok_.text.size();
        int size = 0;
        const auto parsed = std::from_chars(tok_.text.data(), end, size);
        if (parsed.ec != std::errc() || parsed.ptr != end || size <= 0) {
            failAt(tok_,
                   "array size must be a decimal number from 1 to " + std::to_string(INT_MAX));
        }
        property.arraySize = size;
        shift();
    }
    expectPunct(']', "to close the array size of " + property.name);
}

void Parser::parseInstance(std::vector<Qualifier> qualifiers) {
    const Token start = tok_;
    shift();  // 'instance'
    expectKeyword("of", " after 'instance'");
    InstanceDecl inst;
    inst.className = expectIdentifier("a class name after 'instance of'").text;
    inst.qualifiers = std::move(qualifiers);
    inst.file = lexer_.file();
    inst.line = start.line;
    if (atKeyword("as")) {
        shift();
        if (tok_.kind != TokenKind::Alias) {
            failExpected("an alias ($name) after 'as'");
        }
        inst.alias = tok_.text;
        shift();
    }
    expectPunct('{', "to open the instance of " + inst.className);
    while (!atPunct('}')) {
        if (tok_.kind == TokenKind::End) {
            failAt(start, "instance of " + inst.className + " is not closed with '};'");
        }
        parseQualifierList();  // instance-level qualifiers on values carry nothing we keep
        const Token name = expectIdentifier("a property name or '}'");
        if (findByName(inst.values, name.text) != nullptr) {
            failAt(name, "property " + name.text + " is given twice");
        }
        expectPunct('=', "after " + name.text);
        Literal value = parseLiteral();
        expectPunct(';', "after the value of " + name.text);
        inst.values.push_back(PropertyValue{name.text, std::move(value.value),
                                            std::move(value.elements), value.isArray,
                                            value.isNull});
    }
    shift();
    expectPunct(';', "after the instance of " + inst.className);
    out_.instances.push_back(std::move(inst));
}

void Parser::parseQualifierType() {
    shift();  // 'qualifier'
    const Token name = expectIdentifier("a qualifier name");
    QualifierType q;
    q.name = name.text;
    q.file = lexer_.file();
    q.line = name.line;
    expectPunct(':', "and a type after qualifier " + q.name);
    q.type = expectDataType(expectIdentifier("a data type"));
    if (atPunct('[')) {
        Property shape;
        parseArraySuffix(shape);
        q.isArray = true;
    }
    if (atPunct('=')) {
        Literal value = parseDefault(q.isArray, "qualifier");
        q.hasDefault = !value.isNull;
        q.defaultValue = std::move(value.value);
        q.defaultElements = std::move(value.elements);
    }
    expectPunct(',', "and a scope after the type of qualifier " + q.name);
    q.scopes = parseNameList("scope", kScopes);
    for (std::string& scope : q.scopes) {
        scope = cimp::lowerCase(scope);
    }
    if (acceptPunct(',')) {
        q.flavors = parseNameList("flavor", kFlavors);
    }
    expectPunct(';', "after qualifier " + q.name);
    out_.qualifierTypes.push_back(std::move(q));
}

std::vector<std::string> Parser::parseNameList(const char* keyword, const char* const* allowed) {
    expectKeyword(keyword, "");
    expectPunct('(', std::string("after '") + keyword + "'");
    std::vector<std::string> names;
    do {
        const Token word = expectIdentifier(std::string("a ") + keyword);
        if (!listed(allowed, word.text)) {
            failAt(word, std::string("unknown ") + keyword + " '" + word.text + "'");
        }
        names.push_back(word.text);
    } while (acceptPunct(','));
    expectPunct(')', std::string("to close the ") + keyword + " list");
    return names;
}

std::vector<Qualifier> Parser::parseQualifierList() {
    std::vector<Qualifier> list;
    if (!acceptPunct('[')) {
        return list;
    }
    do {
        const Token name = expectIdentifier("a qualifier name");
        if (findByName(list, name.text) != nullptr) {
            failAt(name, "qualifier " + name.text + " is given twice");
        }
        Qualifier q;
        q.name = name.text;
        if (acceptPunct('(')) {
            const Literal value = parseScalar();
            q.value = value.value;
            expectPunct(')', "to close the value of qualifier " + q.name);
        } else if (atPunct('{')) {
            Literal value = parseLiteral();
            q.value = std::move(value.value);
            q.elements = std::move(value.elements);
            q.isArray = true;
        } else {
            q.value = "true";
        }
        if (acceptPunct(':')) {
            do {
                const Token flavor = expectIdentifier("a flavor after ':'");
                if (!listed(kFlavors, flavor.text)) {
                    failAt(flavor, "unknown flavor '" + flavor.text + "'");
                }
            } while (tok_.kind == TokenKind::Identifier);
        }
        list.push_back(std::move(q));
    } while (acceptPunct(','));
    expectPunct(']', "to close the qualifier list");
    return list;
}

Parser::Literal Parser::parseLiteral() {
    if (!acceptPunct('{')) {
        return parseScalar();
    }
    Literal array;
    array.isArray = true;
    if (!atPunct('}')) {
        do {
            if (atPunct('{')) {
                failAt(tok_, "arrays cannot be nested");
            }
            const Token at = tok_;
            Literal element = parseScalar();
            if (element.isNull) {
                failAt(at, "NULL cannot be an array element");
            }
            array.elements.push_back(std::move(element.value));
        } while (acceptPunct(','));
    }
    expectPunct('}', "to close the array value");
    array.value = joined(array.elements);
    return array;
}

Parser::Literal Parser::parseDefault(bool isArray, const char* what) {
    shift();  // '='
    const Token at = tok_;
    Literal value = parseLiteral();
    if (!value.isNull && value.isArray != isArray) {
        failAt(at, isArray ? std::string("an array ") + what + " needs an array default {...}"
                           : std::string("a scalar ") + what + " cannot take an array default");
    }
    return value;
}

Parser::Literal Parser::parseScalar() {
    Literal v;
    switch (tok_.kind) {
        case TokenKind::String:
            v.value = concatenatedStrings();
            return v;
        case TokenKind::Integer:
        case TokenKind::Real:
        case TokenKind::Char:
            v.value = tok_.text;
            break;
        case TokenKind::Alias:
            v.value = "$" + tok_.text;
            break;
        case TokenKind::Identifier:
            if (atKeyword("true") || atKeyword("false")) {
                v.value = cimp::lowerCase(tok_.text);
                break;
            }
            if (atKeyword("null")) {
                v.isNull = true;
                break;
            }
            failExpected("a value");
        default:
            failExpected("a value");
    }
    shift();
    return v;
}

std::string Parser::concatenatedStrings() {
    const Token first = tok_;
    std::string text;
    while (tok_.kind == TokenKind::String) {
        if (text.size() + tok_.text.size() > Lexer::kMaxLiteralBytes) {
            failAt(first, "string value longer than " + std::to_string(Lexer::kMaxLiteralBytes) +
                              " bytes");
        }
        text += tok_.text;
        shift();
    }
    return text;
}

}  // namespace cimmof
