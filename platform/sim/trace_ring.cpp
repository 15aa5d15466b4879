#include "platform/sim/trace_ring.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "platform/sim/trace_ring_format.h"

namespace cimpsim {

namespace {

bool holdsRing(const ring::FileHeader& header, size_t size) {
    return std::memcmp(header.magic, ring::kMagic, sizeof ring::kMagic) == 0 &&
           header.version == ring::kVersion && header.headerSize == ring::kHeaderSize &&
           header.ringSize == size - ring::kHeaderSize &&
           header.maxEntrySize == ring::kMaxEntrySize && header.head % ring::kAlign == 0;
}

}  // namespace

void TraceRing::prepare(uint8_t* base, size_t size, const std::string& name) {
    ring::FileHeader header;
    std::memcpy(&header, base, sizeof header);
    if (holdsRing(header, size)) {
        return;
    }
    std::memset(base, 0, size);
    std::memcpy(header.magic, ring::kMagic, sizeof ring::kMagic);
    header.version = ring::kVersion;
    header.headerSize = ring::kHeaderSize;
    header.ringSize = static_cast<uint32_t>(size - ring::kHeaderSize);
    header.maxEntrySize = ring::kMaxEntrySize;
    header.head = 0;
    std::memset(header.name, 0, sizeof header.name);
    std::memcpy(header.name, name.data(), std::min(name.size(), sizeof header.name - 1));
    std::memcpy(base, &header, sizeof header);
}

TraceRing::TraceRing(uint8_t* base, size_t size)
    : head_(reinterpret_cast<uint64_t*>(base + offsetof(ring::FileHeader, head))),
      area_(base + ring::kHeaderSize),
      areaSize_(size - ring::kHeaderSize) {}

void TraceRing::append(uint8_t* entry, uint32_t length) {
    uint64_t offset = __atomic_fetch_add(head_, length, __ATOMIC_RELAXED);
    std::memcpy(entry + offsetof(ring::EntryHeader, length), &length, sizeof length);
    uint32_t checksum = ring::entryChecksum(offset, length, entry);
    std::memcpy(entry + offsetof(ring::EntryHeader, checksum), &checksum, sizeof checksum);
    copyIn(offset + sizeof(uint64_t), entry + sizeof(uint64_t), length - sizeof(uint64_t));
    // Offsets and the area size are multiples of 8, so this word never wraps.
    auto* marker = reinterpret_cast<uint64_t*>(area_ + offset % areaSize_);
    __atomic_store_n(marker, offset, __ATOMIC_RELEASE);
}

void TraceRing::copyIn(uint64_t logical, const uint8_t* bytes, size_t count) {
    size_t at = static_cast<size_t>(logical % areaSize_);
    size_t first = std::min(count, static_cast<size_t>(areaSize_) - at);
    std::memcpy(area_ + at, bytes, first);
    std::memcpy(area_, bytes + first, count - first);
}

}  // namespace cimpsim
