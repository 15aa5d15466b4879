// UTC timestamps as the error log and the trace printer show them: 2024-05-01T12:00:00.123456Z.
#ifndef CIMP_PLATFORM_SIM_UTC_TIME_H
#define CIMP_PLATFORM_SIM_UTC_TIME_H

#include <cstdint>
#include <optional>
#include <string>

namespace cimpsim {

std::string formatUtc(uint64_t nanosSinceEpoch);

// The nanoseconds since the epoch of a time formatUtc wrote; nothing for any other text.
std::optional<uint64_t> parseUtc(const std::string& text);

}  // namespace cimpsim

#endif
