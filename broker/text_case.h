// ASCII letter-case helpers for CIM names, which compare without regard to case.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cimbroker {

std::string lowerCase(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
// A hash of `text` as if lower-cased, computed without a copy.
std::size_t foldedHash(std::string_view text);

}  // namespace cimbroker
