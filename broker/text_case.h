// ASCII letter-case helpers for CIM names, which compare without regard to case.
#pragma once

#include <string>
#include <string_view>

namespace cimbroker {

std::string lowerCase(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace cimbroker
