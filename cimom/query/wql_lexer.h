// Splits WQL text into tokens: words (names and keywords alike; a dotted name such as
// SourceInstance.Name, a property of an embedded instance, is one word), quoted strings (' or ",
// with backslash escaping the quote and itself), numbers, and the symbols
// = <> != < > <= >= ( ) * ,.
// A character that starts no token, or a string left open, yields an Error token at its place.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace cimquery {

struct Token {
    enum class Kind { Word, String, Number, Symbol, End, Error };
    Kind kind = Kind::End;
    std::string text;          // a string's text unescaped; an error's reason
    std::size_t position = 0;  // 1-based
};

std::vector<Token> tokenizeWql(const std::string& text);

}  // namespace cimquery
