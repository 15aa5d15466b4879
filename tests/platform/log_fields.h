// Masks the varying fields of the platform's text lines so that whole lines can be compared.
#ifndef CIMP_TESTS_PLATFORM_LOG_FIELDS_H
#define CIMP_TESTS_PLATFORM_LOG_FIELDS_H

#include <regex.h>

#include <string>

namespace cimptest {

// `text` with every match of the extended regular expression `pattern` replaced by `mask`.
inline std::string maskEach(const std::string& text, const char* pattern, const char* mask) {
    regex_t compiled;
    if (regcomp(&compiled, pattern, REG_EXTENDED) != 0) {
        return text;
    }
    std::string masked;
    regmatch_t match;
    const char* at = text.c_str();
    for (; regexec(&compiled, at, 1, &match, 0) == 0; at += match.rm_eo) {
        masked.append(at, static_cast<size_t>(match.rm_so));
        masked += mask;
    }
    regfree(&compiled);
    return masked + at;
}

// `text` with every UTC time as the platform writes it (2026-01-05T10:00:00.250000Z) shown as
// "<time>" and every thread id as "tid=<n>".
inline std::string maskTimes(const std::string& text) {
    const char* time = "[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{6}Z";
    return maskEach(maskEach(text, time, "<time>"), "tid=[0-9]+", "tid=<n>");
}

}  // namespace cimptest

#endif
