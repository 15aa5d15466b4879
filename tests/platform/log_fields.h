// Small helpers for checking the platform's text lines without std::regex.
#ifndef CIMP_TESTS_PLATFORM_LOG_FIELDS_H
#define CIMP_TESTS_PLATFORM_LOG_FIELDS_H

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

namespace cimptest {

// The blank-separated fields of `line`.
inline std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; in >> field;) {
        fields.push_back(field);
    }
    return fields;
}

// True for a UTC time as the platform writes it: 2026-01-05T10:00:00.250000Z.
inline bool isUtcTime(const std::string& text) {
    const std::string shape = "0000-00-00T00:00:00.000000Z";
    if (text.size() != shape.size()) {
        return false;
    }
    for (size_t i = 0; i < shape.size(); ++i) {
        bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (shape[i] == '0' ? !digit : text[i] != shape[i]) {
            return false;
        }
    }
    return true;
}

// `line` with its blank-separated fields rejoined by one blank and every UTC time, bare or as
// "created=<time>", shown as "<time>", so a whole line can be compared at once.
inline std::string maskTimes(const std::string& line) {
    std::string out;
    for (std::string field : fieldsOf(line)) {
        const size_t at = field.rfind("created=", 0) == 0 ? 8 : 0;
        if (isUtcTime(field.substr(at))) {
            field = field.substr(0, at) + "<time>";
        }
        out += (out.empty() ? "" : " ") + field;
    }
    return out;
}

}  // namespace cimptest

#endif
