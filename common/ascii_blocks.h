#pragma once
// The ASCII stretches of the converters' loops, a block at a time. Each call
// stores a whole block and tells how many of its leading items are ASCII; the
// caller keeps only those and moves on by as many, so it needs room for the
// whole block. Offered where QZU_ASCII_BLOCKS is defined (SSE2).
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#define QZU_ASCII_BLOCKS 1

namespace qzu {

// Sixteen bytes at `p` widened to sixteen units at `dst`.
inline unsigned WidenAsciiBlock(const uint8_t* p, char16_t* dst) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i zero = _mm_setzero_si128();
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_unpacklo_epi8(v, zero));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8), _mm_unpackhi_epi8(v, zero));
  const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(v));
  return high ? static_cast<unsigned>(__builtin_ctz(high)) : 16u;
}

// Sixteen bytes at `p` copied to `dst`.
inline unsigned CopyAsciiBlock(const uint8_t* p, char* dst) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), v);
  const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(v));
  return high ? static_cast<unsigned>(__builtin_ctz(high)) : 16u;
}

// Eight units at `p` narrowed to eight bytes at `dst`.
inline unsigned NarrowAsciiBlock(const char16_t* p, char* dst) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
  const unsigned notAscii =
      ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, high), _mm_setzero_si128()))) &
      0xFFFFu;
  _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(v, v));
  return notAscii ? static_cast<unsigned>(__builtin_ctz(notAscii)) / 2 : 8u;
}

}  // namespace qzu

#endif
