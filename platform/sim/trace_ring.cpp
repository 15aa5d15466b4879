#include "platform/sim/trace_ring.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "platform/sim/trace_ring_format.h"

namespace cimpsim {

namespace {

// Words 0..2 hold the magic, version and sizes; word 3 is the head.
constexpr size_t kLayoutWords = 3;
constexpr size_t kHeadWord = offsetof(ring::FileHeader, head) / sizeof(uint64_t);

}  // namespace

void TraceRing::prepare(uint8_t* base, size_t size, const std::string& name) {
    ring::FileHeader header;
    std::memcpy(&header, base, sizeof header);
    if (ring::headerFault(header, size).empty()) {
        return;
    }
    std::memset(base, 0, size);
    header = ring::FileHeader{};
    header.version = ring::kVersion;
    header.headerSize = ring::kHeaderSize;
    header.ringSize = static_cast<uint32_t>(size - ring::kHeaderSize);
    header.maxEntrySize = ring::kMaxEntrySize;
    std::memcpy(header.magic, ring::kMagic, sizeof ring::kMagic);
    std::memcpy(header.name, name.data(), std::min(name.size(), sizeof header.name - 1));
    std::memcpy(base, &header, sizeof header);
}

TraceRing::TraceRing(uint8_t* base, size_t size, std::function<void()> onDamage)
    : words_(reinterpret_cast<uint64_t*>(base)),
      area_(words_ + kHeaderWords),
      areaWords_((size - ring::kHeaderSize) / sizeof(uint64_t)),
      onDamage_(std::move(onDamage)) {
    std::memcpy(header_, base, sizeof header_);
}

bool TraceRing::headerDamaged() const {
    for (size_t i = 0; i < kLayoutWords; ++i) {
        if (__atomic_load_n(&words_[i], __ATOMIC_RELAXED) != header_[i]) {
            return true;
        }
    }
    return false;
}

void TraceRing::restoreHeader() {
    if (onDamage_) {
        onDamage_();
    }
    for (size_t i = 0; i < kHeaderWords; ++i) {
        if (i != kHeadWord) {
            __atomic_store_n(&words_[i], header_[i], __ATOMIC_RELAXED);
        }
    }
    __atomic_fetch_and(&words_[kHeadWord], ~static_cast<uint64_t>(ring::kAlign - 1),
                       __ATOMIC_RELAXED);
}

void TraceRing::append(uint8_t* entry, uint32_t length) {
    // Checked before reserving: bytes written past the end of a shrunk file would be lost when
    // it is grown back.
    if (headerDamaged()) {
        restoreHeader();
    }
    const uint64_t reserved = __atomic_fetch_add(&words_[kHeadWord], length, __ATOMIC_RELAXED);
    if (reserved % ring::kAlign != 0) {
        restoreHeader();
    }
    // Rounding keeps writers on whole words even after a damaged head, and consistently so,
    // since every length is a multiple of 8.
    const uint64_t offset = reserved & ~static_cast<uint64_t>(ring::kAlign - 1);
    std::memcpy(entry + offsetof(ring::EntryHeader, length), &length, sizeof length);
    uint32_t checksum = ring::entryChecksum(offset, length, entry);
    std::memcpy(entry + offsetof(ring::EntryHeader, checksum), &checksum, sizeof checksum);
    const size_t first = static_cast<size_t>((offset / sizeof(uint64_t)) % areaWords_);
    size_t at = first;
    for (size_t i = sizeof(uint64_t); i < length; i += sizeof(uint64_t)) {
        at = at + 1 == areaWords_ ? 0 : at + 1;
        uint64_t word;
        std::memcpy(&word, entry + i, sizeof word);
        __atomic_store_n(&area_[at], word, __ATOMIC_RELAXED);
    }
    // The entry's own offset goes last: it is what marks the entry complete.
    __atomic_store_n(&area_[first], offset, __ATOMIC_RELEASE);
}

}  // namespace cimpsim
