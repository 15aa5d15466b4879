// The error log's line format, written and read here only: one text line per committed entry in
// <root>/errl/log.
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
//
// Built as a small static library of its own, so the daemon's metrics read the log with this code
// without loading the platform.
#ifndef CIMP_PLATFORM_SIM_ERRL_LOG_H
#define CIMP_PLATFORM_SIM_ERRL_LOG_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/errl_watch.h"

namespace cimpsim {

// Longer than any line formatErrlLine makes (keys are cut to 64 bytes, escaped at most 4x): the
// end of the log that holds its last number.
constexpr size_t kErrlTailBytes = 1024;

struct ErrlLogRecord {
    uint32_t rc;
    uint16_t first;
    uint16_t second;
    std::string origin;     // "<service> <key>", empty when unknown
    uint64_t createdNanos;  // 0 when unknown
};

// The eight fields of an entry line as text, their labels ("rc=", "created=", "pid=") taken off.
struct ErrlLine {
    std::string sequence, committed, rc, values, service, key, created, pid;
};

// The line for `record` (ending in a newline).
std::string formatErrlLine(uint64_t sequence, uint64_t committedNanos, long pid,
                           const ErrlLogRecord& record);

// The fields of `line` (without its newline), or nothing when it is not an entry line. Out of
// memory it throws std::bad_alloc rather than take an entry for another line.
std::optional<ErrlLine> parseErrlLine(const std::string& line);

// The entry `line` stands for, its texts turned into values ("unknown -" into an empty call and
// key), or nothing when a field does not hold what formatErrlLine writes there.
std::optional<ErrlCommittedEntry> committedEntryOf(const ErrlLine& line);

// The number that begins the last line of `tail` (the log's last kErrlTailBytes or fewer), or of
// the last complete one when the last was cut short without a number; 0 when there is none.
uint64_t lastSequence(const std::string& tail);

// lastSequence of the log file `path`; 0 when it is missing or unreadable.
uint64_t lastSequenceOfLog(const std::string& path);

}  // namespace cimpsim

#endif
