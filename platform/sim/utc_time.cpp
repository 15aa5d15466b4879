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

}  // namespace cimpsim
