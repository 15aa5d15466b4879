#include "broker/cim_datetime.h"

#include <cstdio>
#include <cstring>

namespace cimbroker {
namespace {

constexpr size_t kTextLength = 25;
constexpr uint64_t kMicrosPerSecond = 1000000;
constexpr uint64_t kSecondsPerDay = 86400;

// Reads `width` decimal digits at `text`; false if any is not a digit.
bool readNumber(const char* text, int width, uint64_t& out) {
    out = 0;
    for (int i = 0; i < width; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        out = out * 10 + static_cast<uint64_t>(text[i] - '0');
    }
    return true;
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
int64_t daysFromCivil(int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;
}

void civilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    year = static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
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
    uint64_t year, month, day, hours, minutes, seconds, micros, offset;
    if (!readNumber(text, 4, year) || !readNumber(text + 4, 2, month) ||
        !readNumber(text + 6, 2, day) || !readNumber(text + 8, 2, hours) ||
        !readNumber(text + 10, 2, minutes) || !readNumber(text + 12, 2, seconds) ||
        text[14] != '.' || !readNumber(text + 15, 6, micros) || !readNumber(text + 22, 3, offset)) {
        return false;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || hours > 23 || minutes > 59 ||
        seconds > 59) {
        return false;
    }
    const int64_t days = daysFromCivil(static_cast<int64_t>(year), static_cast<unsigned>(month),
                                       static_cast<unsigned>(day));
    // The text is local time `offset` minutes east ('+') or west ('-') of UTC.
    const int64_t offsetSeconds = static_cast<int64_t>(offset) * 60 * (text[21] == '+' ? 1 : -1);
    const int64_t utcSeconds = days * static_cast<int64_t>(kSecondsPerDay) +
                               static_cast<int64_t>(hours * 3600 + minutes * 60 + seconds) -
                               offsetSeconds;
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
    const uint64_t secondsOfDay = totalSeconds % kSecondsPerDay;
    const uint64_t days = totalSeconds / kSecondsPerDay;
    const unsigned hours = static_cast<unsigned>(secondsOfDay / 3600);
    const unsigned minutes = static_cast<unsigned>(secondsOfDay / 60 % 60);
    const unsigned seconds = static_cast<unsigned>(secondsOfDay % 60);
    char text[64];
    if (value.interval) {
        std::snprintf(text, sizeof text, "%08llu%02u%02u%02u.%06llu:000",
                      static_cast<unsigned long long>(days % 100000000), hours, minutes, seconds,
                      static_cast<unsigned long long>(micros));
    } else {
        int64_t year;
        unsigned month, day;
        civilFromDays(static_cast<int64_t>(days), year, month, day);
        std::snprintf(text, sizeof text, "%04lld%02u%02u%02u%02u%02u.%06llu+000",
                      static_cast<long long>(year % 10000), month, day, hours, minutes, seconds,
                      static_cast<unsigned long long>(micros));
    }
    return text;
}

}  // namespace cimbroker
