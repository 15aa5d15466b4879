// The simulated error log: one text line per committed entry in <root>/errl/log.
//
// Line format (fields separated by one blank):
//   <seq> <committed> rc=0x%08X 0x%04X,0x%04X <service> <key> created=<created> pid=<pid>
// for example
//   7 2026-01-05T10:00:00.250000Z rc=0x51A00001 0xD400,0x2000 UtilReg::read fstp/SystemName
//   created=2026-01-05T10:00:00.249000Z pid=4242   (one line)
// Times are UTC (utc_time.h). <seq> is one more than the number that begins the log's last line,
// taken under an exclusive flock on the log, so it counts up across threads and processes; an
// empty or unreadable tail starts again at 1. A last line cut short keeps its number when it has
// one, and the next entry starts on a line of its own. An entry not made by the simulated platform
// shows "unknown -" for service and key and "created=-". Each line is written with a single append.
#ifndef CIMP_PLATFORM_SIM_ERRL_LOG_H
#define CIMP_PLATFORM_SIM_ERRL_LOG_H

#include <cstdint>
#include <string>

#include "platform/sim/env.h"

namespace cimpsim {

struct ErrlLogRecord {
    uint32_t rc;
    uint16_t first;
    uint16_t second;
    std::string origin;     // "<service> <key>", empty when unknown
    uint64_t createdNanos;  // 0 when unknown
};

// The number that begins the last line of `tail`, or of the last complete one when the last was
// cut short without a number; 0 when there is none.
uint64_t lastSequence(const std::string& tail);

// The line for `record` (ending in a newline).
std::string formatErrlLine(uint64_t sequence, uint64_t committedNanos, long pid,
                           const ErrlLogRecord& record);

// Appends `record` to the log under the root of `env`; false (and nothing written) when it
// cannot.
bool appendErrlRecord(const Env& env, const ErrlLogRecord& record);

}  // namespace cimpsim

#endif
