#include "platform/sim/errl_log.h"

#include <unistd.h>

#include <cstdio>

#include "platform/sim/platform_root.h"
#include "platform/sim/utc_time.h"

namespace cimpsim {

namespace {

// Longer than any line formatErrlLine makes (keys are cut to 64 bytes, escaped at most 4x).
constexpr size_t kTailBytes = 1024;

}  // namespace

uint64_t lastSequence(const std::string& tail) {
    if (tail.empty() || tail.back() != '\n') {
        return 0;
    }
    size_t previous = tail.rfind('\n', tail.size() - 2);
    if (previous == std::string::npos && tail.size() == kTailBytes) {
        return 0;  // the line's start was cut off
    }
    size_t begin = previous == std::string::npos ? 0 : previous + 1;
    uint64_t sequence = 0;
    size_t i = begin;
    for (; i < tail.size() && tail[i] >= '0' && tail[i] <= '9' && i - begin < 19; ++i) {
        sequence = sequence * 10 + static_cast<uint64_t>(tail[i] - '0');
    }
    return (i > begin && tail[i] == ' ') ? sequence : 0;
}

std::string formatErrlLine(uint64_t sequence, uint64_t committedNanos, long pid,
                           const ErrlLogRecord& record) {
    char codes[48];
    std::snprintf(codes, sizeof codes, "rc=0x%08X 0x%04X,0x%04X", static_cast<unsigned>(record.rc),
                  static_cast<unsigned>(record.first), static_cast<unsigned>(record.second));
    std::string line = std::to_string(sequence) + " " + formatUtc(committedNanos) + " " + codes;
    line += " " + (record.origin.empty() ? std::string("unknown -") : record.origin);
    line += " created=" +
            (record.createdNanos == 0 ? std::string("-") : formatUtc(record.createdNanos));
    line += " pid=" + std::to_string(pid) + "\n";
    return line;
}

bool appendErrlRecord(const Env& env, const ErrlLogRecord& record) {
    return env.appendLocked(platformRoot(env) + "/errl/log", kTailBytes,
                            [&](const std::string& tail) {
                                return formatErrlLine(lastSequence(tail) + 1, env.nowNanos(),
                                                      static_cast<long>(getpid()), record);
                            });
}

}  // namespace cimpsim
