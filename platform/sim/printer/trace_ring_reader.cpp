#include "platform/sim/printer/trace_ring_reader.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/sim/trace_ring_format.h"

namespace cimpsim {

namespace {

// Bounds-checked reading of one entry's bytes.
class ByteReader {
  public:
    ByteReader(const uint8_t* data, size_t size, size_t at) : data_(data), size_(size), at_(at) {}

    // Copies the next `count` bytes to `out`; false when fewer are left.
    bool take(void* out, size_t count) {
        if (count > size_ - at_) {
            return false;
        }
        std::memcpy(out, data_ + at_, count);
        at_ += count;
        return true;
    }

    // A length byte of at most `limit`, then that many bytes of text.
    bool text(size_t limit, std::string& out) {
        uint8_t length = 0;
        if (!take(&length, 1) || length > limit) {
            return false;
        }
        out.resize(length);
        return take(&out[0], length);
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_;
};

bool decodeArgs(ByteReader& reader, DecodedEntry& entry) {
    uint8_t count = 0;
    if (!reader.take(&count, 1) || count > ring::kMaxArgs) {
        return false;
    }
    for (uint8_t i = 0; i < count; ++i) {
        DecodedArg arg{'\0', 0, std::string()};
        const bool decoded =
            reader.take(&arg.kind, 1) &&
            (arg.kind == 'X' || arg.kind == 'd' ? reader.take(&arg.value, sizeof arg.value)
             : arg.kind == 's'                  ? reader.text(ring::kMaxText, arg.text)
                                                : arg.kind == 'n');
        if (!decoded) {
            return false;
        }
        entry.args.push_back(arg);
    }
    return true;
}

// Decodes a complete entry of `length` bytes whose header was checked.
bool decodeEntry(const uint8_t* bytes, size_t length, DecodedEntry& entry) {
    ring::EntryHeader header;
    std::memcpy(&header, bytes, sizeof header);
    entry = DecodedEntry{header.selfOffset, header.timestampNanos, header.formatId, header.line,
                         header.threadId,   header.type,           std::string(),   {}};
    ByteReader reader(bytes, length, sizeof header);
    return reader.text(ring::kMaxArgTypes, entry.argTypes) && decodeArgs(reader, entry);
}

// Copies `count` bytes from logical offset `logical` of the entry area, wrapping at its end.
void copyOut(const uint8_t* area, uint64_t areaSize, uint64_t logical, size_t count, uint8_t* out) {
    size_t at = static_cast<size_t>(logical % areaSize);
    size_t first = std::min(count, static_cast<size_t>(areaSize - at));
    std::memcpy(out, area + at, first);
    std::memcpy(out + first, area, count - first);
}

}  // namespace

bool readTraceRing(const uint8_t* data, size_t size, RingContents& contents, std::string& error) {
    if (size < ring::kHeaderSize) {
        error = "truncated: " + std::to_string(size) + " bytes, a trace ring header needs " +
                std::to_string(ring::kHeaderSize);
        return false;
    }
    ring::FileHeader header;
    std::memcpy(&header, data, sizeof header);
    error = ring::headerFault(header, size);
    if (!error.empty()) {
        return false;
    }
    contents.name.assign(header.name, strnlen(header.name, sizeof header.name));
    contents.head = header.head;
    contents.ringSize = header.ringSize;
    contents.entries.clear();

    const uint8_t* area = data + ring::kHeaderSize;
    const uint64_t areaSize = header.ringSize;
    uint64_t at = header.head > areaSize ? header.head - areaSize : 0;
    uint8_t entry[ring::kMaxEntrySize];
    // Written as differences so that a damaged head near 2^64 cannot overflow the walk.
    while (at < header.head && header.head - at >= ring::kEntryHeaderSize) {
        ring::EntryHeader candidate;
        copyOut(area, areaSize, at, sizeof candidate, reinterpret_cast<uint8_t*>(&candidate));
        bool framed = candidate.selfOffset == at && candidate.length >= ring::kEntryHeaderSize &&
                      candidate.length <= ring::kMaxEntrySize &&
                      candidate.length % ring::kAlign == 0 && candidate.length <= header.head - at;
        if (framed) {
            copyOut(area, areaSize, at, candidate.length, entry);
            DecodedEntry decoded;
            if (ring::entryChecksum(at, candidate.length, entry) == candidate.checksum &&
                decodeEntry(entry, candidate.length, decoded)) {
                contents.entries.push_back(std::move(decoded));
                at += candidate.length;
                continue;
            }
        }
        at += ring::kAlign;
    }
    return true;
}

}  // namespace cimpsim
