#include "platform/sim/registry_key.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace cimpsim {

namespace {

bool isPlainPart(std::string_view part) {
    return !part.empty() && part != "." && part != ".." &&
           std::none_of(part.begin(), part.end(), [](unsigned char c) {
               return c < 0x20 || c == 0x7F || c == '\\' || c == '/';
           });
}

}  // namespace

bool isPlainRegistryKey(const char* key) {
    if (key == nullptr) {
        return false;
    }
    size_t length = strnlen(key, kMaxRegistryKeyLength + 1);
    if (length > kMaxRegistryKeyLength) {
        return false;
    }
    const std::string_view whole(key, length);
    const size_t slash = whole.find('/');
    return slash != std::string_view::npos && isPlainPart(whole.substr(0, slash)) &&
           isPlainPart(whole.substr(slash + 1));
}

std::string printableKey(const char* text, size_t limit) {
    if (text == nullptr) {
        return "(null)";
    }
    size_t length = strnlen(text, limit + 1);
    if (length == 0) {
        return "(empty)";
    }
    std::string out;
    for (size_t i = 0; i < length && i < limit; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c <= 0x20 || c >= 0x7F || c == '\\') {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (length > limit) {
        out += "...";
    }
    return out;
}

}  // namespace cimpsim
