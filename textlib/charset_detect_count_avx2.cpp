// The AVX2 build of the UTF-8 counting scan, 32 bytes at a time; called only
// where the processor has AVX2 (CountUtf8Sequences asks it once). Every
// header is included before the target pragma, so that no function they
// define is built for AVX2 here and then taken by the linker for callers
// without it; the loop of textlib/charset_detect_scan.h comes after it, with
// internal linkage.
#include "textlib/charset_detect_count.h"

#if QZU_UTF8_SCAN_AVX2
#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#pragma GCC push_options
#pragma GCC target("avx2")

#include "textlib/charset_detect_scan.h"

namespace {

// Signed comparisons sort the bytes into ranges: 80-BF are below C0, and
// ASCII bytes are above every high byte.
struct Avx2 {
  using HighCount = __m256i;
  static HighCount Zero() { return _mm256_setzero_si256(); }
  static HighCount Add(HighCount a, HighCount b) { return _mm256_add_epi8(a, b); }
  static uint64_t Sum(HighCount h) {
    const __m256i sums = _mm256_sad_epu8(h, _mm256_setzero_si256());
    const __m128i pair = _mm_add_epi64(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
    return static_cast<uint64_t>(_mm_cvtsi128_si64(pair)) + static_cast<uint64_t>(_mm_extract_epi64(pair, 1));
  }

  // Plain functions rather than lambdas: GCC builds a lambda without the
  // target of the code around it.
  static __m256i bound(uint8_t b) { return _mm256_set1_epi8(static_cast<char>(b)); }
  static __m256i below(__m256i v, __m256i b) { return _mm256_cmpgt_epi8(b, v); }
  static uint64_t bits(__m256i m) { return static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(m))); }

  static void Classify(const uint8_t* p, ByteClasses<Avx2>& c) {
    for (int k = 0; k < 2; ++k) {
      const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32 * k));
      const __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32 * k + 1));
      const int shift = 32 * k;
      const __m256i belowE0 = below(v, bound(0xE0));
      const __m256i belowF0 = below(v, bound(0xF0));
      // A second byte that is no continuation byte at all fails the lead
      // anyway, so each test needs one side of its range only.
      const __m256i wrong = _mm256_or_si256(
          _mm256_or_si256(_mm256_and_si256(_mm256_cmpeq_epi8(v, bound(0xE0)), below(second, bound(0xA0))),
                          _mm256_and_si256(_mm256_cmpeq_epi8(v, bound(0xED)), _mm256_cmpgt_epi8(second, bound(0x9F)))),
          _mm256_or_si256(_mm256_and_si256(_mm256_cmpeq_epi8(v, bound(0xF0)), below(second, bound(0x90))),
                          _mm256_and_si256(_mm256_cmpeq_epi8(v, bound(0xF4)), _mm256_cmpgt_epi8(second, bound(0x8F)))));
      c.high = _mm256_sub_epi8(c.high, below(v, _mm256_setzero_si256()));
      c.cont |= bits(below(v, bound(0xC0))) << shift;
      c.lead2 |= bits(_mm256_and_si256(_mm256_cmpgt_epi8(v, bound(0xC1)), belowE0)) << shift;
      c.lead3 |= bits(_mm256_andnot_si256(_mm256_or_si256(belowE0, wrong), belowF0)) << shift;
      c.lead4 |= bits(_mm256_andnot_si256(_mm256_or_si256(belowF0, wrong), below(v, bound(0xF5)))) << shift;
    }
  }

  // Classify has dropped them already.
  static uint64_t DropExcludedFourByteLeads(const uint8_t*, uint64_t good4) { return good4; }
};

}  // namespace

Utf8Counts CountUtf8SequencesAvx2(const void* data, size_t size, uint64_t stopAtBadPerValid) {
  return ScanUtf8<Avx2>(data, size, stopAtBadPerValid);
}

#pragma GCC pop_options
#endif
