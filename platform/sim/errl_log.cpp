#include "platform/sim/errl_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <sstream>

#include "platform/sim/fd.h"
#include "platform/sim/utc_time.h"

namespace cimpsim {

namespace {

// The number that begins the line of `tail` ending at `end` (a newline, or the tail's end), or 0
// when it has none or its start was cut off.
uint64_t numberOfLineEndingAt(const std::string& tail, size_t end) {
    const size_t previous = end == 0 ? std::string::npos : tail.rfind('\n', end - 1);
    if (previous == std::string::npos && tail.size() == kErrlTailBytes) {
        return 0;
    }
    const char* begin = tail.data() + (previous == std::string::npos ? 0 : previous + 1);
    const char* stop = tail.data() + end;
    uint64_t sequence = 0;
    // At most 19 digits, so that the next number cannot overflow.
    const std::from_chars_result parsed = std::from_chars(begin, stop, sequence);
    const bool numbered = parsed.ec == std::errc() && parsed.ptr - begin <= 19 &&
                          parsed.ptr < stop && *parsed.ptr == ' ';
    return numbered ? sequence : 0;
}

bool takeLabel(std::string& field, const char* label) {
    const std::string prefix(label);
    if (field.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    field.erase(0, prefix.size());
    return true;
}

}  // namespace

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

std::optional<ErrlLine> parseErrlLine(const std::string& line) {
    std::istringstream in(line);
    ErrlLine f;
    std::string extra;
    if (!(in >> f.sequence >> f.committed >> f.rc >> f.values >> f.service >> f.key >> f.created >>
          f.pid) ||
        (in >> extra) || !takeLabel(f.rc, "rc=") || !takeLabel(f.created, "created=") ||
        !takeLabel(f.pid, "pid=")) {
        return std::nullopt;
    }
    return f;
}

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

uint64_t lastSequenceOfLog(const std::string& path) {
    const Fd file = Fd::fromResult(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.valid() || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return 0;
    }
    const size_t size = static_cast<size_t>(info.st_size);
    std::string tail(std::min(size, kErrlTailBytes), '\0');
    const ssize_t got =
        pread(file.get(), &tail[0], tail.size(), static_cast<off_t>(size - tail.size()));
    tail.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return lastSequence(tail);
}

}  // namespace cimpsim
