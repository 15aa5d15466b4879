// The characters of MOF and WQL names and numbers, ASCII whatever the locale: a name starts with
// a letter or '_' and goes on with letters, digits and '_'.
#pragma once

namespace cimmof {

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

inline bool isNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

inline bool isNamePart(char c) {
    return isNameStart(c) || isDigit(c);
}

}  // namespace cimmof
