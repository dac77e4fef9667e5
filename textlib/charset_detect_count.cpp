#include "textlib/charset_detect_count.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "textlib/charset_detect_scan.h"

namespace {

#if defined(__SSE2__)
// 16 bytes at a time. Signed comparisons sort the bytes into ranges: 80-BF
// are below C0, and ASCII bytes are above every high byte. Past the
// comparisons only the sign bit of each byte counts, as only it reaches the
// masks.
struct Sse2 {
  using HighCount = __m128i;
  static HighCount Zero() { return _mm_setzero_si128(); }
  static HighCount Add(HighCount a, HighCount b) { return _mm_add_epi8(a, b); }
  static uint64_t Sum(HighCount h) {
    const __m128i sums = _mm_sad_epu8(h, _mm_setzero_si128());
    return static_cast<uint64_t>(_mm_cvtsi128_si32(sums)) + static_cast<uint64_t>(_mm_extract_epi16(sums, 4));
  }

  static __m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
  static __m128i Bound(uint8_t b) { return _mm_set1_epi8(static_cast<char>(b)); }
  static __m128i Below(__m128i v, uint8_t b) { return _mm_cmplt_epi8(v, Bound(b)); }
  // Bit 5 of each byte moved to its sign: on a continuation byte, set from A0
  // on. A shift of the 16-bit lanes moves no bit across a byte into a sign.
  static __m128i Bit5(__m128i v) { return _mm_slli_epi16(v, 2); }
  // The sign bits of 16 bytes. The empty asm takes each mask where it is
  // made: without it GCC folds the sixteen masks of a block into one
  // expression at its end and keeps their vectors, spilled, until there.
  static uint64_t Bits(__m128i m) {
    uint64_t bits = static_cast<uint32_t>(_mm_movemask_epi8(m));
    __asm__("" : "+r"(bits));
    return bits;
  }

  // Bytes p[0..15] into bits `shift` on of the masks.
  static void Classify16(const uint8_t* p, int shift, ByteClasses<Sse2>& c) {
    const __m128i v = Load(p);
    const __m128i belowE0 = Below(v, 0xE0);
    const __m128i belowF0 = Below(v, 0xF0);
    // E0 wants a second byte from A0 on, ED one below A0; a second byte that
    // is no continuation byte fails the lead anyway.
    const __m128i fromA0 = Bit5(Load(p + 1));
    const __m128i wrong = _mm_or_si128(_mm_andnot_si128(fromA0, _mm_cmpeq_epi8(v, Bound(0xE0))),
                                       _mm_and_si128(fromA0, _mm_cmpeq_epi8(v, Bound(0xED))));
    c.high = _mm_sub_epi8(c.high, Below(v, 0));
    c.cont |= Bits(Below(v, 0xC0)) << shift;
    c.lead2 |= Bits(_mm_andnot_si128(Below(v, 0xC2), belowE0)) << shift;
    c.lead3 |= Bits(_mm_andnot_si128(_mm_or_si128(belowE0, wrong), belowF0)) << shift;
    c.lead4 |= Bits(_mm_andnot_si128(belowF0, Below(v, 0xF5))) << shift;
  }

  // Leaves F0 and F4 in lead4 whatever their second byte: few leads have
  // three continuation bytes after them, and DropExcludedFourByteLeads
  // checks those, in the blocks that have any.
  static void Classify(const uint8_t* p, ByteClasses<Sse2>& c) {
    Classify16(p, 0, c);
    Classify16(p + 16, 16, c);
    Classify16(p + 32, 32, c);
    Classify16(p + 48, 48, c);
  }

  // F0 wants a second byte from 90 on, F4 one below 90.
  static uint64_t DropExcludedFourByteLeads(const uint8_t* p, uint64_t good4) {
    uint64_t wrong = 0;
    for (int k = 0; k < 4; ++k) {
      const __m128i v = Load(p + 16 * k);
      const __m128i fromA0 = Bit5(Load(p + 16 * k + 1));
      const __m128i from90 = _mm_or_si128(fromA0, _mm_add_epi8(fromA0, fromA0));  // bit 5 or bit 4
      wrong |= Bits(_mm_or_si128(_mm_andnot_si128(from90, _mm_cmpeq_epi8(v, Bound(0xF0))),
                                 _mm_and_si128(from90, _mm_cmpeq_epi8(v, Bound(0xF4)))))
               << (16 * k);
    }
    return good4 & ~wrong;
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

  // Classify has dropped them already.
  static uint64_t DropExcludedFourByteLeads(const uint8_t*, uint64_t good4) { return good4; }
};
using Baseline = Plain;
#endif

}  // namespace

size_t Utf8CutTailLength(const void* data, size_t size) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  for (size_t k = 1; k <= 3 && k <= size; ++k) {
    const uint8_t lead = p[size - k];
    if ((lead & 0xC0) == 0x80) continue;  // a continuation byte: the lead may stand further back
    const size_t need = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (need <= k) return 0;  // ASCII, a byte that leads nothing, or a sequence that is complete
    if (k >= 2) {
      const uint8_t second = p[size - k + 1];
      if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
          (lead == 0xF4 && second > 0x8F))
        return 0;
    }
    return k;
  }
  return 0;
}

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
