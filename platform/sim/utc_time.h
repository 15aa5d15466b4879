// UTC timestamps as the error log and the trace printer show them: 2024-05-01T12:00:00.123456Z.
#ifndef CIMP_PLATFORM_SIM_UTC_TIME_H
#define CIMP_PLATFORM_SIM_UTC_TIME_H

#include <cstdint>
#include <string>

namespace cimpsim {

std::string formatUtc(uint64_t nanosSinceEpoch);

}  // namespace cimpsim

#endif
