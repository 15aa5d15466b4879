// Parsers of the simulated platform's small text files. All are total: any input gives an answer.
#ifndef CIMP_PLATFORM_SIM_VALUE_PARSERS_H
#define CIMP_PLATFORM_SIM_VALUE_PARSERS_H

#include <cstdint>
#include <optional>
#include <string>

namespace cimpsim {

// A `.fail` file: a non-zero hexadecimal 32-bit code, "0x" optional, blanks around allowed.
std::optional<uint32_t> parseFaultCode(const std::string& text);

// The managed indicator: a decimal or "0x" hexadecimal 32-bit number, blanks around allowed.
std::optional<uint32_t> parseManagedIndicator(const std::string& text);

// The policy file: "0" or "1" with an optional trailing newline, or empty (no answer).
enum class PolicyValue { Unset, Disabled, Enabled, Invalid };
PolicyValue parsePolicy(const std::string& text);

}  // namespace cimpsim

#endif
