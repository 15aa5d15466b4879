#include "cimom/mof/ascii_case.h"

namespace cimmof {
namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string toLowerAscii(const std::string& text) {
    std::string lowered(text);
    for (char& c : lowered) {
        c = lowerAscii(c);
    }
    return lowered;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::size_t foldedHash(std::string_view text) {
    // FNV-1a over the lower-cased bytes.
    std::size_t hash = 14695981039346656037ull;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(lowerAscii(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

}  // namespace cimmof
