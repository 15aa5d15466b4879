// Layout of a trace ring, shared by the writer (trace_ring.h) and the reader (printer/).
//
// A ring is one block of `size` bytes (the trace file <root>/trace/<name>, or memory), host byte
// order, everything 8-byte aligned:
//
//   FileHeader (64 bytes)
//     0  magic "CIMPRNG1"   8  version (2)   12 headerSize (64)   16 ringSize (size - 64)
//     20 maxEntrySize       24 head: logical bytes reserved so far (only grows)
//     32 name, NUL-padded (32 bytes)
//   entry area (ringSize bytes): logical offset L lives at byte 64 + L % ringSize.
//
// Entries are variable length, a multiple of 8 bytes, and may wrap at the end of the area:
//   EntryHeader (40 bytes)
//     0  selfOffset: the entry's logical offset; written last, it marks the entry complete
//     8  length: whole entry in bytes    12 checksum (entryChecksum)
//     16 timestamp, ns since the epoch, UTC    24 formatId   28 line   32 thread id   36 type
//   payload: argTypes length (1 byte), argTypes (at most kMaxArgTypes bytes), argument count
//   (1 byte), then per argument a tag byte: 'X' or 'd' and 4 value bytes; 's', a length byte and
//   at most kMaxText bytes of text; 'n' for a null text. Zero padding up to `length`.
//
// A writer reserves `length` bytes by advancing `head` atomically, fills the entry and then
// stores selfOffset. Valid data is the logical range [head - ringSize, head). A reader walks it
// oldest first: at logical offset L an entry starts when its selfOffset equals L, its length is
// sane and its checksum matches; otherwise the reader steps 8 bytes and looks again. Stale bytes
// never carry the offset they sit at, so the walk finds entry boundaries again after the oldest,
// partly overwritten entry, an entry still being written, or one torn by a writer a whole lap
// ahead.
#ifndef CIMP_PLATFORM_SIM_TRACE_RING_FORMAT_H
#define CIMP_PLATFORM_SIM_TRACE_RING_FORMAT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace cimpsim {
namespace ring {

constexpr char kMagic[8] = {'C', 'I', 'M', 'P', 'R', 'N', 'G', '1'};
constexpr uint32_t kVersion = 2;
constexpr size_t kAlign = 8;
constexpr size_t kHeaderSize = 64;
constexpr size_t kEntryHeaderSize = 40;
constexpr size_t kMaxArgs = 8;
constexpr size_t kMaxText = 64;
constexpr size_t kMaxArgTypes = 32;
// Buffers asked for outside these bounds are made this small or this large.
constexpr size_t kMinBufferSize = 1024;
constexpr size_t kMaxBufferSize = 16u << 20;

constexpr size_t alignUp(size_t n) {
    return (n + kAlign - 1) / kAlign * kAlign;
}

constexpr size_t kMaxEntrySize =
    alignUp(kEntryHeaderSize + 1 + kMaxArgTypes + 1 + kMaxArgs * (2 + kMaxText));

struct FileHeader {
    char magic[8];
    uint32_t version;
    uint32_t headerSize;
    uint32_t ringSize;
    uint32_t maxEntrySize;
    uint64_t head;
    char name[32];
};
static_assert(sizeof(FileHeader) == kHeaderSize, "ring header is 64 bytes");

struct EntryHeader {
    uint64_t selfOffset;
    uint32_t length;
    uint32_t checksum;
    uint64_t timestampNanos;
    uint32_t formatId;
    uint32_t line;
    uint32_t threadId;
    int32_t type;
};
static_assert(sizeof(EntryHeader) == kEntryHeaderSize, "entry header is 40 bytes");

constexpr size_t kChecksumEnd = 16;  // the checksum covers the offset, the length and bytes 16..

// A multiply-xorshift hash over the entry's offset, its length and the 8-byte words [16, length)
// of `entry`, folded to 32 bits. Word at a time, because it is on every writer's path.
inline uint32_t entryChecksum(uint64_t selfOffset, uint32_t length, const uint8_t* entry) {
    uint64_t hash = 0xCBF29CE484222325u;
    auto mix = [&hash](uint64_t word) {
        hash = (hash ^ word) * 0x100000001B3u;
        hash ^= hash >> 29;
    };
    mix(selfOffset);
    mix(length);
    for (size_t i = kChecksumEnd; i + sizeof(uint64_t) <= length; i += sizeof(uint64_t)) {
        uint64_t word;
        std::memcpy(&word, entry + i, sizeof word);
        mix(word);
    }
    return static_cast<uint32_t>(hash ^ (hash >> 32));
}

// Why `size` bytes that begin with `header` are not a ring; empty when they are one.
inline std::string headerFault(const FileHeader& header, size_t size) {
    if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0) {
        return "not a trace ring (bad magic)";
    }
    if (header.version != kVersion) {
        return "unsupported trace ring version " + std::to_string(header.version);
    }
    if (header.headerSize != kHeaderSize || header.maxEntrySize != kMaxEntrySize) {
        return "unsupported trace ring layout";
    }
    if (header.ringSize + kHeaderSize != size) {
        return "truncated or resized: the header describes " +
               std::to_string(header.ringSize + kHeaderSize) + " bytes, found " +
               std::to_string(size);
    }
    if (header.ringSize % kAlign != 0 || header.ringSize < kMaxEntrySize ||
        header.head % kAlign != 0) {
        return "corrupt trace ring header";
    }
    return std::string();
}

}  // namespace ring
}  // namespace cimpsim

#endif
