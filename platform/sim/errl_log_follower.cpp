#include "platform/sim/errl_log_follower.h"

#include <sys/stat.h>

#include <algorithm>
#include <optional>

#include "platform/sim/errl_log.h"
#include "platform/sim/fd.h"

namespace cimpsim {

namespace {

constexpr size_t kChunkBytes = 64 * 1024;

}  // namespace

ErrlLogFollower::ErrlLogFollower(std::string path, uint64_t startNanos)
    : path_(std::move(path)), lastNanos_(startNanos) {
    struct stat info {};
    const Fd file = openRegularFile(path_, info);
    if (!file.valid()) {
        return;  // a log made later holds only new entries
    }
    startOver(info.st_dev, info.st_ino);
    filtering_ = false;  // what follows is new
    const uint64_t size = static_cast<uint64_t>(info.st_size);
    const std::string tail = readTail(file.get(), size, kErrlTailBytes + 1);
    const uint64_t tailStart = size - tail.size();
    const size_t lastNewline = tail.rfind('\n');
    if (lastNewline == std::string::npos) {
        // No whole line, or inside one too long to be an entry.
        discarding_ = tailStart > 0;
        offset_ = discarding_ ? size : 0;
        return;
    }
    offset_ = tailStart + lastNewline + 1;
    const size_t previous = lastNewline == 0 ? std::string::npos : tail.rfind('\n', lastNewline - 1);
    if (previous != std::string::npos || tailStart == 0) {
        const size_t begin = previous == std::string::npos ? 0 : previous + 1;
        lastLine_ = tail.substr(begin, lastNewline - begin);
        lastLineEnd_ = offset_;
    }
}

bool ErrlLogFollower::stillHoldsLastLine(int fd, uint64_t size) const {
    if (size < offset_) {
        return false;
    }
    if (lastLine_.empty() && lastLineEnd_ == 0) {
        return true;
    }
    const size_t length = lastLine_.size() + 1;
    return lastLineEnd_ >= length && readAt(fd, lastLineEnd_ - length, length) == lastLine_ + "\n";
}

void ErrlLogFollower::startOver(dev_t device, ino_t inode) {
    known_ = true;
    device_ = device;
    inode_ = inode;
    offset_ = 0;
    discarding_ = false;
    lastLine_.clear();
    lastLineEnd_ = 0;
    filtering_ = true;
}

void ErrlLogFollower::readNew(std::vector<ErrlCommittedEntry>& entries, size_t limit) {
    struct stat info {};
    const Fd file = openRegularFile(path_, info);
    if (!file.valid()) {
        return;
    }
    const uint64_t size = static_cast<uint64_t>(info.st_size);
    if (!known_ || info.st_dev != device_ || info.st_ino != inode_ ||
        !stillHoldsLastLine(file.get(), size)) {
        startOver(info.st_dev, info.st_ino);
    }
    if (takeLines(file.get(), size, entries, limit)) {
        filtering_ = false;  // the whole log was read: what is appended next is new
    }
}

bool ErrlLogFollower::takeLines(int fd, uint64_t size, std::vector<ErrlCommittedEntry>& entries,
                                size_t limit) {
    std::string line;
    for (uint64_t at = offset_; at < size;) {
        const std::string chunk =
            readAt(fd, at, static_cast<size_t>(std::min<uint64_t>(size - at, kChunkBytes)));
        if (chunk.empty()) {
            return false;
        }
        for (size_t i = 0; i < chunk.size(); ++i) {
            const char c = chunk[i];
            if (c == '\n') {
                const uint64_t end = at + i + 1;
                if (!discarding_) {
                    takeLine(line, end, entries);
                }
                discarding_ = false;
                offset_ = end;
                line.clear();
                if (entries.size() >= limit) {
                    return false;
                }
            } else if (!discarding_ && line.size() < kErrlTailBytes) {
                line += c;
            } else if (!discarding_) {
                discarding_ = true;  // longer than any entry: dropped up to its newline
            }
        }
        at += chunk.size();
        if (discarding_) {
            offset_ = at;
        }
    }
    return true;
}

void ErrlLogFollower::takeLine(const std::string& line, uint64_t end,
                               std::vector<ErrlCommittedEntry>& entries) {
    lastLine_ = line;
    lastLineEnd_ = end;
    const std::optional<ErrlLine> fields = parseErrlLine(line);
    const std::optional<ErrlCommittedEntry> entry =
        fields ? committedEntryOf(*fields) : std::nullopt;
    if (!entry) {
        return;
    }
    const bool isNew = entry->committedNanos > lastNanos_ ||
                       (entry->committedNanos == lastNanos_ && entry->number > lastNumber_);
    if (filtering_ && !isNew) {
        return;
    }
    entries.push_back(*entry);  // first: out of memory, the line is read again
    filtering_ = false;
    lastNanos_ = entry->committedNanos;
    lastNumber_ = entry->number;
}

}  // namespace cimpsim
