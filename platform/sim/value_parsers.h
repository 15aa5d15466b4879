// Parsers of the simulated platform's small text files. All are total: any input gives an answer.
#ifndef CIMP_PLATFORM_SIM_VALUE_PARSERS_H
#define CIMP_PLATFORM_SIM_VALUE_PARSERS_H

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cimpsim {

// All of `text` as a number in `base` that fits `T`: no prefix, no blanks.
template <typename T>
std::optional<T> wholeNumber(std::string_view text, int base = 10) {
    T value{};
    const char* end = text.data() + text.size();
    const std::from_chars_result parsed = std::from_chars(text.data(), end, value, base);
    if (parsed.ec != std::errc() || parsed.ptr != end) {
        return std::nullopt;
    }
    return value;
}

// A `.fail` file: a non-zero hexadecimal 32-bit code, "0x" optional, blanks around allowed.
std::optional<uint32_t> parseFaultCode(const std::string& text);

// The managed indicator: a decimal or "0x" hexadecimal 32-bit number, blanks around allowed.
std::optional<uint32_t> parseManagedIndicator(const std::string& text);

// The policy file: "0" or "1" with an optional trailing newline, or empty (no answer).
enum class PolicyValue { Unset, Disabled, Enabled, Invalid };
PolicyValue parsePolicy(const std::string& text);

}  // namespace cimpsim

#endif
