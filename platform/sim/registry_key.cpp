#include "platform/sim/registry_key.h"

#include <cstdio>
#include <cstring>

namespace cimpsim {

namespace {

bool isPlainPart(const char* begin, size_t length) {
    if (length == 0) {
        return false;
    }
    if ((length == 1 && begin[0] == '.') || (length == 2 && begin[0] == '.' && begin[1] == '.')) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(begin[i]);
        if (c < 0x20 || c == 0x7F || c == '\\' || c == '/') {
            return false;
        }
    }
    return true;
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
    const char* slash = static_cast<const char*>(std::memchr(key, '/', length));
    if (slash == nullptr) {
        return false;
    }
    size_t areaLength = static_cast<size_t>(slash - key);
    return isPlainPart(key, areaLength) && isPlainPart(slash + 1, length - areaLength - 1);
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
