#include "platform/sim/errl_log.h"

#include <unistd.h>

#include <cstdio>

#include "platform/sim/platform_root.h"
#include "platform/sim/utc_time.h"

namespace cimpsim {

namespace {

// Longer than any line formatErrlLine makes (keys are cut to 64 bytes, escaped at most 4x).
constexpr size_t kTailBytes = 1024;

// The number that begins the line of `tail` ending at `end` (a newline, or the tail's end), or 0
// when it has none or its start was cut off.
uint64_t numberOfLineEndingAt(const std::string& tail, size_t end) {
    const size_t previous = end == 0 ? std::string::npos : tail.rfind('\n', end - 1);
    if (previous == std::string::npos && tail.size() == kTailBytes) {
        return 0;
    }
    const size_t begin = previous == std::string::npos ? 0 : previous + 1;
    uint64_t sequence = 0;
    size_t i = begin;
    for (; i < end && tail[i] >= '0' && tail[i] <= '9' && i - begin < 19; ++i) {
        sequence = sequence * 10 + static_cast<uint64_t>(tail[i] - '0');
    }
    return (i > begin && i < end && tail[i] == ' ') ? sequence : 0;
}

}  // namespace

uint64_t lastSequence(const std::string& tail) {
    if (tail.empty()) {
        return 0;
    }
    if (tail.back() == '\n') {
        return numberOfLineEndingAt(tail, tail.size() - 1);
    }
    // A line cut short: its number when it kept one, else the last complete line's.
    const uint64_t cut = numberOfLineEndingAt(tail, tail.size());
    const size_t lastNewline = tail.rfind('\n');
    return cut != 0 || lastNewline == std::string::npos ? cut
                                                        : numberOfLineEndingAt(tail, lastNewline);
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
    return platformDirectory(env, true)->appendLocked(
        "errl/log", kTailBytes, [&](const std::string& tail) {
            // A last line cut short (a full disk, a hand edit) must not swallow this entry.
            const bool cut = !tail.empty() && tail.back() != '\n';
            return (cut ? "\n" : "") + formatErrlLine(lastSequence(tail) + 1, env.nowNanos(),
                                                      static_cast<long>(getpid()), record);
        });
}

}  // namespace cimpsim
