#include "textlib/charset_detect_count.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "textlib/charset_detect_scan.h"

namespace {

#if defined(__SSE2__)
// 16 bytes at a time. Signed comparisons sort the bytes into ranges: 80-BF
// are below C0, and ASCII bytes are above every high byte.
struct Sse2 {
  using HighCount = __m128i;
  static HighCount Zero() { return _mm_setzero_si128(); }
  static HighCount Add(HighCount a, HighCount b) { return _mm_add_epi8(a, b); }
  static uint64_t Sum(HighCount h) {
    const __m128i sums = _mm_sad_epu8(h, _mm_setzero_si128());
    return static_cast<uint64_t>(_mm_cvtsi128_si32(sums)) + static_cast<uint64_t>(_mm_extract_epi16(sums, 4));
  }

  static void Classify(const uint8_t* p, ByteClasses<Sse2>& c) {
    const auto bound = [](uint8_t b) { return _mm_set1_epi8(static_cast<char>(b)); };
    const auto bits = [](__m128i m) { return static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(m))); };
    for (int k = 0; k < 4; ++k) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
      const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k + 1));
      const int shift = 16 * k;
      const __m128i belowE0 = _mm_cmplt_epi8(v, bound(0xE0));
      const __m128i belowF0 = _mm_cmplt_epi8(v, bound(0xF0));
      // A second byte that is no continuation byte at all fails the lead
      // anyway, so each test needs one side of its range only.
      const __m128i wrong = _mm_or_si128(
          _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(v, bound(0xE0)), _mm_cmplt_epi8(second, bound(0xA0))),
                       _mm_and_si128(_mm_cmpeq_epi8(v, bound(0xED)), _mm_cmpgt_epi8(second, bound(0x9F)))),
          _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(v, bound(0xF0)), _mm_cmplt_epi8(second, bound(0x90))),
                       _mm_and_si128(_mm_cmpeq_epi8(v, bound(0xF4)), _mm_cmpgt_epi8(second, bound(0x8F)))));
      c.high = _mm_sub_epi8(c.high, _mm_cmplt_epi8(v, _mm_setzero_si128()));
      c.cont |= bits(_mm_cmplt_epi8(v, bound(0xC0))) << shift;
      c.lead2 |= bits(_mm_and_si128(_mm_cmpgt_epi8(v, bound(0xC1)), belowE0)) << shift;
      c.lead3 |= bits(_mm_andnot_si128(_mm_or_si128(belowE0, wrong), belowF0)) << shift;
      c.lead4 |= bits(_mm_andnot_si128(_mm_or_si128(belowF0, wrong), _mm_cmplt_epi8(v, bound(0xF5)))) << shift;
    }
  }
};
using Baseline = Sse2;
#else
// A byte at a time, where no vector unit is known.
struct Plain {
  using HighCount = uint64_t;
  static HighCount Zero() { return 0; }
  static HighCount Add(HighCount a, HighCount b) { return a + b; }
  static uint64_t Sum(HighCount h) { return h; }

  static void Classify(const uint8_t* p, ByteClasses<Plain>& c) {
    for (int i = 0; i < 64; ++i) {
      const uint64_t bit = uint64_t{1} << i;
      const uint8_t b = p[i], second = p[i + 1];
      const bool wrong = (b == 0xE0 && second < 0xA0) || (b == 0xED && second > 0x9F) || (b == 0xF0 && second < 0x90) ||
                         (b == 0xF4 && second > 0x8F);
      if (b & 0x80) ++c.high;
      if ((b & 0xC0) == 0x80) c.cont |= bit;
      if (b >= 0xC2 && b <= 0xDF) c.lead2 |= bit;
      if ((b & 0xF0) == 0xE0 && !wrong) c.lead3 |= bit;
      if (b >= 0xF0 && b <= 0xF4 && !wrong) c.lead4 |= bit;
    }
  }
};
using Baseline = Plain;
#endif

}  // namespace

bool Utf8ScanAvailable(int instructionSet) {
  if (instructionSet == kUtf8ScanBaseline) return true;
#if QZU_UTF8_SCAN_AVX2
  static const bool avx2 = __builtin_cpu_supports("avx2");
  return instructionSet == kUtf8ScanAvx2 && avx2;
#else
  return false;
#endif
}

Utf8Counts CountUtf8SequencesWith(int instructionSet, const void* data, size_t size, uint64_t stopAtBadPerValid) {
#if QZU_UTF8_SCAN_AVX2
  if (instructionSet == kUtf8ScanAvx2 && Utf8ScanAvailable(kUtf8ScanAvx2))
    return CountUtf8SequencesAvx2(data, size, stopAtBadPerValid);
#endif
  (void)instructionSet;
  return ScanUtf8<Baseline>(data, size, stopAtBadPerValid);
}

Utf8Counts CountUtf8Sequences(const void* data, size_t size, uint64_t stopAtBadPerValid) {
#if QZU_UTF8_SCAN_AVX2
  static const bool avx2 = Utf8ScanAvailable(kUtf8ScanAvx2);
  if (avx2) return CountUtf8SequencesAvx2(data, size, stopAtBadPerValid);
#endif
  return ScanUtf8<Baseline>(data, size, stopAtBadPerValid);
}
