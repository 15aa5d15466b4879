// Masks the varying fields of the platform's text lines so that whole lines can be compared.
#ifndef CIMP_TESTS_PLATFORM_LOG_FIELDS_H
#define CIMP_TESTS_PLATFORM_LOG_FIELDS_H

#include <regex>
#include <string>

namespace cimptest {

// `text` with every UTC time as the platform writes it (2026-01-05T10:00:00.250000Z) shown as
// "<time>" and every thread id as "tid=<n>".
inline std::string maskTimes(const std::string& text) {
    static const std::regex stamp(
        "[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{6}Z");
    static const std::regex tid("tid=[0-9]+");
    return std::regex_replace(std::regex_replace(text, stamp, "<time>"), tid, "tid=<n>");
}

}  // namespace cimptest

#endif
