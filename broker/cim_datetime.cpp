#include "broker/cim_datetime.h"

#include <cstdio>
#include <cstring>
#include <ctime>

namespace cimbroker {
namespace {

constexpr size_t kTextLength = 25;
constexpr uint64_t kMicrosPerSecond = 1000000;
constexpr uint64_t kSecondsPerDay = 86400;

// Reads `width` decimal digits at `text`; false if any is not a digit.
template <typename T>
bool readNumber(const char* text, int width, T& out) {
    out = 0;
    for (int i = 0; i < width; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        out = out * 10 + static_cast<T>(text[i] - '0');
    }
    return true;
}

bool parseInterval(const char* text, CimDateTime& out) {
    uint64_t days, hours, minutes, seconds, micros, zero;
    if (!readNumber(text, 8, days) || !readNumber(text + 8, 2, hours) ||
        !readNumber(text + 10, 2, minutes) || !readNumber(text + 12, 2, seconds) ||
        text[14] != '.' || !readNumber(text + 15, 6, micros) || !readNumber(text + 22, 3, zero)) {
        return false;
    }
    if (hours > 23 || minutes > 59 || seconds > 59 || zero != 0) {
        return false;
    }
    const uint64_t totalSeconds = days * kSecondsPerDay + hours * 3600 + minutes * 60 + seconds;
    out = CimDateTime{totalSeconds * kMicrosPerSecond + micros, true};
    return true;
}

bool parseTimestamp(const char* text, CimDateTime& out) {
    tm local{};
    uint64_t micros, offset;
    if (!readNumber(text, 4, local.tm_year) || !readNumber(text + 4, 2, local.tm_mon) ||
        !readNumber(text + 6, 2, local.tm_mday) || !readNumber(text + 8, 2, local.tm_hour) ||
        !readNumber(text + 10, 2, local.tm_min) || !readNumber(text + 12, 2, local.tm_sec) ||
        text[14] != '.' || !readNumber(text + 15, 6, micros) || !readNumber(text + 22, 3, offset)) {
        return false;
    }
    if (local.tm_mon < 1 || local.tm_mon > 12 || local.tm_mday < 1 || local.tm_mday > 31 ||
        local.tm_hour > 23 || local.tm_min > 59 || local.tm_sec > 59) {
        return false;
    }
    local.tm_year -= 1900;
    local.tm_mon -= 1;
    // The text is local time `offset` minutes east ('+') or west ('-') of UTC. timegm counts a day
    // past the month's end into the next month.
    const int64_t offsetSeconds = static_cast<int64_t>(offset) * 60 * (text[21] == '+' ? 1 : -1);
    const int64_t utcSeconds = static_cast<int64_t>(timegm(&local)) - offsetSeconds;
    if (utcSeconds < 0) {
        return false;
    }
    out = CimDateTime{static_cast<uint64_t>(utcSeconds) * kMicrosPerSecond + micros, false};
    return true;
}

}  // namespace

bool parseCimDateTime(const char* text, CimDateTime& out) {
    if (text == nullptr || strnlen(text, kTextLength + 1) != kTextLength) {
        return false;
    }
    switch (text[21]) {
        case ':':
            return parseInterval(text, out);
        case '+':
        case '-':
            return parseTimestamp(text, out);
        default:
            return false;
    }
}

std::string formatCimDateTime(const CimDateTime& value) {
    const uint64_t micros = value.microseconds % kMicrosPerSecond;
    const uint64_t totalSeconds = value.microseconds / kMicrosPerSecond;
    const time_t seconds = static_cast<time_t>(totalSeconds);
    // An interval takes its hours, minutes and seconds as a point in time does.
    tm utc{};
    gmtime_r(&seconds, &utc);
    char text[64];
    if (value.interval) {
        std::snprintf(text, sizeof text, "%08llu%02d%02d%02d.%06llu:000",
                      static_cast<unsigned long long>(totalSeconds / kSecondsPerDay % 100000000),
                      utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<unsigned long long>(micros));
    } else {
        std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d.%06llu+000",
                      (utc.tm_year + 1900) % 10000, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour,
                      utc.tm_min, utc.tm_sec, static_cast<unsigned long long>(micros));
    }
    return text;
}

}  // namespace cimbroker
