// Case-insensitive helpers for CIM names, which compare without regard to ASCII letter case.
// Pure functions; safe from any thread.
#pragma once

#include <string>

namespace cimmof {

std::string toLowerAscii(const std::string& text);
bool equalsIgnoreCase(const std::string& a, const std::string& b);

}  // namespace cimmof
