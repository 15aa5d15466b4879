#include "platform/sim/value_parsers.h"

#include <charconv>

#include "base/text.h"

namespace cimpsim {

using cimp::trimmed;

namespace {

bool hasHexPrefix(const std::string& text) {
    return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

// Digits only, in `base` (10 or 16), fitting 32 bits.
std::optional<uint32_t> parseDigits(const std::string& digits, int base) {
    uint32_t value = 0;
    const char* end = digits.data() + digits.size();
    const std::from_chars_result parsed = std::from_chars(digits.data(), end, value, base);
    if (parsed.ec != std::errc() || parsed.ptr != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<uint32_t> parseFaultCode(const std::string& text) {
    std::string code = trimmed(text);
    std::optional<uint32_t> rc = parseDigits(hasHexPrefix(code) ? code.substr(2) : code, 16);
    return rc.value_or(0) != 0 ? rc : std::nullopt;
}

std::optional<uint32_t> parseManagedIndicator(const std::string& text) {
    std::string number = trimmed(text);
    if (hasHexPrefix(number)) {
        return parseDigits(number.substr(2), 16);
    }
    return parseDigits(number, 10);
}

PolicyValue parsePolicy(const std::string& text) {
    if (text.empty()) {
        return PolicyValue::Unset;
    }
    if (text == "0" || text == "0\n") {
        return PolicyValue::Disabled;
    }
    if (text == "1" || text == "1\n") {
        return PolicyValue::Enabled;
    }
    return PolicyValue::Invalid;
}

}  // namespace cimpsim
