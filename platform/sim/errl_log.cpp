#include "platform/sim/errl_log.h"

#include <charconv>
#include <cstdio>
#include <sstream>
#include <string_view>

#include "platform/sim/fd.h"
#include "platform/sim/utc_time.h"
#include "platform/sim/value_parsers.h"

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

// Hexadecimal fields as formatErrlLine writes them: "0x%08X" (`digits` 8) or "0x%04X" (4).
std::optional<uint32_t> hexField(std::string_view text, size_t digits) {
    if (text.size() != digits + 2 || text.substr(0, 2) != "0x") {
        return std::nullopt;
    }
    return wholeNumber<uint32_t>(text.substr(2), 16);
}

// "0x%04X,0x%04X": the two values an entry was committed with.
bool parseCommitWords(std::string_view text, uint16_t (&words)[2]) {
    const size_t comma = text.find(',');
    const std::optional<uint32_t> first = hexField(text.substr(0, comma), 4);
    const std::optional<uint32_t> second =
        comma == std::string_view::npos ? std::nullopt : hexField(text.substr(comma + 1), 4);
    if (!first || !second) {
        return false;
    }
    words[0] = static_cast<uint16_t>(*first);
    words[1] = static_cast<uint16_t>(*second);
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
    in.exceptions(std::ios::badbit);  // the stream's own catch would pass an allocation failure off
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

std::optional<ErrlCommittedEntry> committedEntryOf(const ErrlLine& line) {
    ErrlCommittedEntry entry{};
    const std::optional<uint64_t> number = wholeNumber<uint64_t>(line.sequence);
    const std::optional<uint64_t> committed = parseUtc(line.committed);
    const std::optional<int64_t> pid = wholeNumber<int64_t>(line.pid);
    const std::optional<uint32_t> rc = hexField(line.rc, 8);
    if (!number || !committed || !pid || !rc || !parseCommitWords(line.values, entry.words)) {
        return std::nullopt;
    }
    entry.number = *number;
    entry.committedNanos = *committed;
    entry.rc = *rc;
    entry.pid = *pid;
    const bool unknown = line.service == "unknown" && line.key == "-";
    entry.call = unknown ? "" : line.service;
    entry.key = unknown ? "" : line.key;
    return entry;
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
    struct stat info {};
    const Fd file = openRegularFile(path, info);
    return file.valid() ? lastSequence(readTail(file.get(), info.st_size, kErrlTailBytes)) : 0;
}

}  // namespace cimpsim
