// Parser: reads the tokens of one MOF text and appends its declarations to a MofDocument in
// source order. It knows the grammar only; whether superclasses and referenced classes exist is
// the Schema's concern. "#pragma include" is handed to the caller's handler at the point where
// it appears, so included declarations keep their place in the order; other pragmas are read
// and ignored. The grammar has no recursion, so nesting cannot exhaust the stack. Errors throw
// MofError at the offending token. One parser serves one thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cimom/mof/document.h"
#include "cimom/mof/lexer.h"

namespace cimmof {

// Called for #pragma include("name"); `at` is where the file name stands.
using IncludeHandler = std::function<void(const std::string& name, const SourceLocation& at)>;

class Parser {
  public:
    Parser(Lexer& lexer, MofDocument& out, IncludeHandler onInclude);

    void parseAll();

  private:
    struct Literal {
        std::string value;
        std::vector<std::string> elements;
        bool isArray = false;
        bool isNull = false;
    };

    void shift() { tok_ = lexer_.next(); }
    bool atPunct(char c) const;
    // Consumes the punctuator `c` when it is next; says whether it was.
    bool acceptPunct(char c);
    bool atKeyword(const char* keyword) const;
    [[noreturn]] void failAt(const Token& token, const std::string& message) const;
    [[noreturn]] void failExpected(const std::string& expected) const;
    void expectPunct(char c, const std::string& context);
    // The keyword, in any case; `context` follows it in the error.
    void expectKeyword(const char* keyword, const std::string& context);
    Token expectIdentifier(const std::string& what);
    std::string expectDataType(const Token& typeToken) const;

    void parsePragma();
    void parseClass(std::vector<Qualifier> qualifiers);
    void parseFeature(ClassDecl& cls);
    void parseMethod(ClassDecl& cls, const Token& name, std::string returnType,
                     std::vector<Qualifier> qualifiers);
    // The type of a property or parameter whose first word `type` is read: a data type, or
    // "<class> ref".
    void parseMemberType(const Token& type, Property& p);
    Property parseParameter();
    void parseArraySuffix(Property& property);
    void parseInstance(std::vector<Qualifier> qualifiers);
    void parseQualifierType();
    std::vector<std::string> parseNameList(const char* keyword, const char* const* allowed);

    std::vector<Qualifier> parseQualifierList();
    Literal parseLiteral();
    // The value after '=' of a property or qualifier type (`what`), of the shape it declares.
    Literal parseDefault(bool isArray, const char* what);
    Literal parseScalar();
    std::string concatenatedStrings();

    Lexer& lexer_;
    MofDocument& out_;
    IncludeHandler onInclude_;
    Token tok_;
};

}  // namespace cimmof
