#pragma once
// The reference for the detection benchmarks: the UTF-8 counting scan as it
// stood before it learnt the forms that never occur in UTF-8 (C0/C1 leads,
// E0 80-9F, ED A0-BF) and four-byte sequences. Two- and three-byte sequences
// are good, anything else is a bad byte, and the text is UTF-8 when the good
// ones outnumber the bad. Kept here, unchanged, so that today's scan is
// measured beside it in the same run.
#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qzu_bench::old_rule {

struct ByteClasses {
  uint64_t cont = 0;   // 80-BF
  uint64_t lead2 = 0;  // C0-DF
  uint64_t lead3 = 0;  // E0-EF
  uint64_t high = 0;   // 80-FF
};

#if defined(__SSE2__)
inline uint64_t Mask16(__m128i v, uint8_t mask, uint8_t value) {
  return static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(
      _mm_and_si128(v, _mm_set1_epi8(static_cast<char>(mask))), _mm_set1_epi8(static_cast<char>(value)))));
}
#endif

inline uint64_t BitCount(uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555ull;
  x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return (x * 0x0101010101010101ull) >> 56;
}

inline ByteClasses Classify(const uint8_t* p) {
  ByteClasses c;
#if defined(__SSE2__)
  for (int k = 0; k < 4; ++k) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    const int shift = 16 * k;
    c.high |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(v))) << shift;
    c.cont |= Mask16(v, 0xC0, 0x80) << shift;
    c.lead2 |= Mask16(v, 0xE0, 0xC0) << shift;
    c.lead3 |= Mask16(v, 0xF0, 0xE0) << shift;
  }
#else
  for (int i = 0; i < 64; ++i) {
    const uint64_t bit = uint64_t{1} << i;
    const uint8_t b = p[i];
    if (b & 0x80) c.high |= bit;
    if ((b & 0xC0) == 0x80) c.cont |= bit;
    if ((b & 0xE0) == 0xC0) c.lead2 |= bit;
    if ((b & 0xF0) == 0xE0) c.lead3 |= bit;
  }
#endif
  return c;
}

// The old answer. With `stopEarly` false the scan always goes to the end, as
// a text whose answer stays open until its last bytes makes it go.
inline bool LooksLikeUtf8(const void* data, size_t size, bool stopEarly = true) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  const size_t blocks = (size + 63) / 64;
  uint8_t tail[64] = {};
  if (size % 64) std::memcpy(tail, p + (blocks - 1) * 64, size % 64);
  const auto blockAt = [&](size_t k) { return (k + 1 < blocks || size % 64 == 0) ? p + 64 * k : tail; };

  uint64_t valid = 0, invalid = 0;
  uint64_t prevGood = 0, prevGood3 = 0;
  ByteClasses next = blocks ? Classify(blockAt(0)) : ByteClasses();
  for (size_t k = 0; k < blocks; ++k) {
    const ByteClasses c = next;
    next = k + 1 < blocks ? Classify(blockAt(k + 1)) : ByteClasses();
    if ((c.high | prevGood >> 63 | prevGood3 >> 62) == 0) {
      prevGood = prevGood3 = 0;
      continue;
    }
    const uint64_t cont1 = (c.cont >> 1) | (next.cont << 63);
    const uint64_t cont2 = (c.cont >> 2) | (next.cont << 62);
    const uint64_t good3 = c.lead3 & cont1 & cont2;
    const uint64_t good = good3 | (c.lead2 & cont1);
    const uint64_t covered = (good << 1) | (good3 << 2) | (prevGood >> 63) | (prevGood3 >> 62);
    valid += BitCount(good);
    invalid += BitCount(c.high & ~c.cont & ~good) + BitCount(c.cont & ~covered);
    prevGood = good;
    prevGood3 = good3;
    const uint64_t rest = size - std::min(size, 64 * (k + 1));
    if (stopEarly && invalid >= valid + rest / 2) return false;
  }
  return valid > invalid;
}

}  // namespace qzu_bench::old_rule
