#pragma once
// DedupeKeyTable: the table of record keys behind DedupeLines
// (textlib/line_dedupe.h), for that file and its tests only.
//
// Keys are views into the text being read: no key is ever copied, which is
// what keeps a million-line run ahead of a set of owned strings. The caller
// keeps the text alive while the table is in use. Open addressing with
// linear probing; a lookup compares the hash first and then the whole key.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace qzu {

class DedupeKeyTable {
 public:
  enum State : uint32_t { kFree = 0, kSeenOnce = 1, kSeenAgain = 2 };

  struct Slot {
    const char16_t* data;
    uint32_t length;
    uint32_t state;
    uint64_t hash;
  };

  // `hashBits` keeps only that many of the hash's high bits (the ones that
  // choose the slot): tests shorten it so that different keys share a hash
  // and the whole keys must be compared.
  explicit DedupeKeyTable(unsigned hashBits = 64)
      : m_hashMask(hashBits >= 64 ? ~uint64_t{0} : hashBits == 0 ? 0 : ~uint64_t{0} << (64 - hashBits)) {
    Allocate(1u << 12);
  }

  // The slot of `key` (whose Hash() is `hash`); a free slot (state kFree)
  // when the key is new. A new key must be claimed with Claim() before the
  // next call.
  Slot& Lookup(std::u16string_view key, uint64_t hash) {
    size_t i = static_cast<size_t>(hash >> m_shift);
    for (;;) {
      Slot& slot = m_slots[i];
      if (slot.state == kFree) {
        m_pendingHash = hash;
        return slot;
      }
      if (slot.hash == hash && slot.length == key.size() && SameUnits(slot.data, key)) return slot;
      i = (i + 1) & m_mask;
    }
  }

  // A lookup is bound by the cache miss on its slot: callers announce the
  // keys they will look up a few records ahead.
  void Prefetch(uint64_t hash) const { __builtin_prefetch(&m_slots[static_cast<size_t>(hash >> m_shift)]); }

  // Second step, once the slot has arrived: the stored key text that the
  // comparison will read (the home slot only; it is the one nearly always).
  void PrefetchKey(uint64_t hash) const {
    const Slot& slot = m_slots[static_cast<size_t>(hash >> m_shift)];
    if (slot.state != kFree) __builtin_prefetch(slot.data);
  }

  void Claim(Slot& slot, std::u16string_view key, State state) {
    slot.data = key.data();
    slot.length = static_cast<uint32_t>(key.size());
    slot.hash = m_pendingHash;
    slot.state = state;
    // Keep the table at most half full so that probe runs stay short.
    if (++m_count * 2 > m_capacity) Grow();
  }

  uint64_t Hash(std::u16string_view key) const { return FullHash(key) & m_hashMask; }

 private:
  // Short keys (a column of ids, codes, names) are compared in place: a call
  // of the library's comparison costs more than the few units themselves.
  static bool SameUnits(const char16_t* stored, std::u16string_view key) {
    if (key.size() <= 8) {
      for (size_t i = 0; i < key.size(); ++i)
        if (stored[i] != key[i]) return false;
      return true;
    }
    return std::memcmp(stored, key.data(), key.size() * sizeof(char16_t)) == 0;
  }

  static uint64_t FullHash(std::u16string_view key) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(key.data());
    size_t n = key.size() * sizeof(char16_t);
    uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
    while (n >= 16) {
      uint64_t a, b;
      std::memcpy(&a, p, 8);
      std::memcpy(&b, p + 8, 8);
      h = (h ^ a) * 0xBF58476D1CE4E5B9ull;
      h ^= h >> 29;
      h = (h ^ b) * 0x94D049BB133111EBull;
      h ^= h >> 31;
      p += 16;
      n -= 16;
    }
    if (n >= 8) {
      uint64_t a;
      std::memcpy(&a, p, 8);
      h = (h ^ a) * 0xBF58476D1CE4E5B9ull;
      h ^= h >> 29;
      p += 8;
      n -= 8;
    }
    // The last 0 to 7 bytes (always whole units) in fixed-size loads: a copy
    // of a variable length would call the library once per key. Six bytes
    // are read as two overlapping words; the length went into the seed.
    uint64_t tail = 0;
    if (n >= 4) {
      uint32_t a, b;
      std::memcpy(&a, p, 4);
      std::memcpy(&b, p + n - 4, 4);
      tail = a | static_cast<uint64_t>(b) << 32;
    } else if (n >= 2) {
      uint16_t a;
      std::memcpy(&a, p, 2);
      tail = a;
    }
    h = (h ^ tail) * 0x94D049BB133111EBull;
    h ^= h >> 32;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    return h;
  }

  void Allocate(size_t capacity) {
    m_slots = std::make_unique<Slot[]>(capacity);  // value-initialised: every slot free
    m_capacity = capacity;
    m_mask = capacity - 1;
    m_shift = 64;
    for (size_t c = capacity; c > 1; c >>= 1) --m_shift;
  }

  void Grow() {
    std::unique_ptr<Slot[]> old = std::move(m_slots);
    const size_t oldCapacity = m_capacity;
    Allocate(oldCapacity * 2);
    for (size_t j = 0; j < oldCapacity; ++j) {
      if (old[j].state == kFree) continue;
      size_t i = static_cast<size_t>(old[j].hash >> m_shift);
      while (m_slots[i].state != kFree) i = (i + 1) & m_mask;
      m_slots[i] = old[j];
    }
  }

  std::unique_ptr<Slot[]> m_slots;
  size_t m_capacity = 0;
  size_t m_mask = 0;
  unsigned m_shift = 64;
  size_t m_count = 0;
  uint64_t m_pendingHash = 0;
  uint64_t m_hashMask;
};

}  // namespace qzu
