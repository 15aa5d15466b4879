// Plain text helpers every reader of text shares: blanks trimmed off both ends and one code point
// written as UTF-8. Pure functions; safe from any thread.
#pragma once

#include <string>
#include <string_view>

namespace cimp {

// `text` without the characters of `blanks` at either end.
std::string trimmed(std::string_view text, std::string_view blanks = " \t\r\n");

// Appends `codePoint` of the Basic Multilingual Plane (below 0x10000: what a CIM char16 or a
// MOF \x escape holds) to `out`, encoded as UTF-8.
void appendUtf8(std::string& out, unsigned codePoint);

}  // namespace cimp
