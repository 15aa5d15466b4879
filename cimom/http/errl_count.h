// How many entries the simulated platform has committed to its error log <root>/errl/log: the
// number the platform would give the next entry, less one (platform/sim/errl_log.h reads it, a
// last line cut short keeping its number). The platform numbers entries under a lock across
// processes, so this counts every process's entries, the daemon's providers' among them; clearing
// the log starts it again at 0. Read from the log's last KiB at each call, so it costs nothing
// until a scrape asks.
#pragma once

#include <cstdint>
#include <string>

namespace cimhost {

// 0 when the log is missing, empty or its last lines carry no number.
std::uint64_t errlEntryCount(const std::string& platformRoot);

}  // namespace cimhost
