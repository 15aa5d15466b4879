// Masks the varying fields of the platform's text lines so that whole lines can be compared.
#ifndef CIMP_TESTS_PLATFORM_LOG_FIELDS_H
#define CIMP_TESTS_PLATFORM_LOG_FIELDS_H

#include <cctype>
#include <string>

namespace cimptest {

// `text` with every UTC time as the platform writes it (2026-01-05T10:00:00.250000Z) shown as
// "<time>" and every thread id as "tid=<n>".
inline std::string maskTimes(const std::string& text) {
    constexpr char kTime[] = "9999-99-99T99:99:99.999999Z";  // '9': any digit
    const auto digit = [&text](size_t at) {
        return at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0;
    };
    const auto timeAt = [&](size_t at) {
        for (size_t i = 0; kTime[i] != '\0'; ++i) {
            if (kTime[i] == '9' ? !digit(at + i)
                                : at + i >= text.size() || text[at + i] != kTime[i]) {
                return false;
            }
        }
        return true;
    };
    std::string masked;
    for (size_t at = 0; at < text.size();) {
        if (timeAt(at)) {
            masked += "<time>";
            at += sizeof kTime - 1;
        } else if (text.compare(at, 4, "tid=") == 0 && digit(at + 4)) {
            masked += "tid=<n>";
            for (at += 4; digit(at); ++at) {
            }
        } else {
            masked += text[at++];
        }
    }
    return masked;
}

}  // namespace cimptest

#endif
