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

bool equalsIgnoreCase(const std::string& a, const std::string& b) {
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

}  // namespace cimmof
