#include "tools/cimp-platform/value_codec.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iterator>
#include <optional>

#include "platform/sim/value_parsers.h"

namespace cimpcli {

namespace {

constexpr const char* kPrefixes[] = {"hex:", "byte:", "text:"};

bool startsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

bool isShownAsText(const std::string& bytes) {
    return !bytes.empty() && bytes.front() != ' ' && bytes.back() != ' ' &&
           std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

cimp::Outcome tooLong() {
    return cimp::Outcome::badUsage("value",
                                   "longer than " + std::to_string(kMaxValueBytes) + " bytes");
}

}  // namespace

std::string displayValue(const std::string& bytes) {
    if (!isShownAsText(bytes)) {
        std::string shown = "hex:";
        for (unsigned char c : bytes) {
            char pair[3];
            std::snprintf(pair, sizeof pair, "%02x", c);
            shown += pair;
        }
        return shown;
    }
    const bool tagged = std::any_of(std::begin(kPrefixes), std::end(kPrefixes),
                                    [&](const char* prefix) { return startsWith(bytes, prefix); });
    return tagged ? "text:" + bytes : bytes;
}

cimp::Outcome parseHexBytes(const std::string& digits, std::string* bytes) {
    std::string hex =
        startsWith(digits, "0x") || startsWith(digits, "0X") ? digits.substr(2) : digits;
    if (hex.size() % 2 != 0) {
        return cimp::Outcome::badUsage(digits, "hexadecimal bytes need two digits each");
    }
    if (hex.size() / 2 > kMaxValueBytes) {
        return tooLong();
    }
    bytes->clear();
    for (size_t i = 0; i < hex.size(); i += 2) {
        unsigned value = 0;
        const char* pair = hex.data() + i;
        const std::from_chars_result read = std::from_chars(pair, pair + 2, value, 16);
        if (read.ec != std::errc() || read.ptr != pair + 2) {
            return cimp::Outcome::badUsage(digits, "not hexadecimal digits");
        }
        *bytes += static_cast<char>(value);
    }
    return cimp::Outcome::success();
}

cimp::Outcome parseByte(const std::string& number, std::string* bytes) {
    std::optional<uint32_t> value = cimpsim::parseManagedIndicator(number);
    if (!value || *value > 0xFF) {
        return cimp::Outcome::badUsage(number, "not a byte (0 to 255, decimal or 0x hexadecimal)");
    }
    *bytes = std::string(1, static_cast<char>(*value));
    return cimp::Outcome::success();
}

cimp::Outcome parseTaggedValue(const std::string& tagged, std::string* bytes) {
    if (startsWith(tagged, "hex:")) {
        return parseHexBytes(tagged.substr(4), bytes);
    }
    if (startsWith(tagged, "byte:")) {
        return parseByte(tagged.substr(5), bytes);
    }
    std::string text = startsWith(tagged, "text:") ? tagged.substr(5) : tagged;
    if (text.size() > kMaxValueBytes) {
        return tooLong();
    }
    *bytes = text;
    return cimp::Outcome::success();
}

cimp::Outcome encodeManaged(const std::string& number, std::string* bytes) {
    std::optional<uint32_t> value = cimpsim::parseManagedIndicator(number);
    if (!value) {
        return cimp::Outcome::badUsage(number, "not a 32-bit number (decimal or 0x hexadecimal)");
    }
    *bytes = std::to_string(*value);
    return cimp::Outcome::success();
}

cimp::Outcome encodePolicy(const std::string& word, std::string* bytes) {
    if (word == "on" || word == "off" || word == "empty") {
        *bytes = word == "on" ? "1" : word == "off" ? "0" : "";
        return cimp::Outcome::success();
    }
    return cimp::Outcome::badUsage(word, "the policy is on, off or empty");
}

std::string policyWord(const std::string& bytes) {
    switch (cimpsim::parsePolicy(bytes)) {
        case cimpsim::PolicyValue::Unset:
            return "empty";
        case cimpsim::PolicyValue::Disabled:
            return "off";
        case cimpsim::PolicyValue::Enabled:
            return "on";
        case cimpsim::PolicyValue::Invalid:
            break;
    }
    return "invalid (" + displayValue(bytes) + ")";
}

cimp::Outcome parseReturnCode(const std::string& text, uint32_t* rc) {
    std::optional<uint32_t> code = cimpsim::parseFaultCode(text);
    if (!code) {
        return cimp::Outcome::badUsage(text, "not a non-zero 32-bit hexadecimal return code");
    }
    *rc = *code;
    return cimp::Outcome::success();
}

std::string formatReturnCode(uint32_t rc) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(rc));
    return text;
}

}  // namespace cimpcli
