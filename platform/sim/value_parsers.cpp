#include "platform/sim/value_parsers.h"

#include "base/text.h"

namespace cimpsim {

using cimp::trimmed;

namespace {

bool hasHexPrefix(const std::string& text) {
    return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

}  // namespace

std::optional<uint32_t> parseFaultCode(const std::string& text) {
    std::string code = trimmed(text);
    std::optional<uint32_t> rc =
        wholeNumber<uint32_t>(hasHexPrefix(code) ? code.substr(2) : code, 16);
    return rc.value_or(0) != 0 ? rc : std::nullopt;
}

std::optional<uint32_t> parseManagedIndicator(const std::string& text) {
    std::string number = trimmed(text);
    if (hasHexPrefix(number)) {
        return wholeNumber<uint32_t>(number.substr(2), 16);
    }
    return wholeNumber<uint32_t>(number);
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
