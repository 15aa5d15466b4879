#include "platform/sim/utc_time.h"

#include <cstdio>
#include <ctime>

namespace cimpsim {

std::string formatUtc(uint64_t nanosSinceEpoch) {
    time_t seconds = static_cast<time_t>(nanosSinceEpoch / 1000000000u);
    unsigned long micros = static_cast<unsigned long>((nanosSinceEpoch % 1000000000u) / 1000u);
    tm parts{};
    gmtime_r(&seconds, &parts);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%06luZ", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
                  micros);
    return text;
}

std::optional<uint64_t> parseUtc(const std::string& text) {
    tm parts{};
    unsigned long micros = 0;
    int used = 0;
    const int got =
        std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d.%6luZ%n", &parts.tm_year, &parts.tm_mon,
                    &parts.tm_mday, &parts.tm_hour, &parts.tm_min, &parts.tm_sec, &micros, &used);
    if (got != 7 || static_cast<size_t>(used) != text.size() || text.size() != 27) {
        return std::nullopt;
    }
    parts.tm_year -= 1900;
    parts.tm_mon -= 1;
    const time_t seconds = timegm(&parts);
    if (seconds < 0) {
        return std::nullopt;
    }
    return static_cast<uint64_t>(seconds) * 1000000000u + micros * 1000u;
}

}  // namespace cimpsim
