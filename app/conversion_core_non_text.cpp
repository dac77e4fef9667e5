#include "app/conversion_core_non_text.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

#include "textlib/text_controls.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define QZU_NON_TEXT_AVX2 1
#endif

namespace rg_Ombrine_app {

static_assert(std::endian::native == std::endian::little, "the counters read UTF-16LE units in place");

namespace {

// More control characters than this share of the text, and more than a stray
// one or two, make a file no text.
constexpr size_t kControlsPerHundred = 1;
constexpr size_t kStrayControls = 2;


bool TooManyControls(size_t controls, size_t size) {
  return controls > kStrayControls && controls * 100 > size * kControlsPerHundred;
}

// The scans below go through the text in blocks and look at what they have
// counted after each: a verdict that is settled ends the scan.
// A block of bytes is 255 vectors of 16: each lane counts to 255 at most.
constexpr size_t kBlockBytes = 255 * 16;

// What one pass over bytes finds: the control characters no text uses (a
// zero byte among them) and where the zero bytes stand.
struct ByteCounts {
  size_t controls = 0;
  bool zeroAtEven = false;
  bool zeroAtOdd = false;
};

// Counts the bytes of `p[0, n)`, n a multiple of 16 at most kBlockBytes, the
// first at an even offset.
#if defined(__SSE2__)
void CountBlock(const unsigned char* p, size_t n, ByteCounts& counts) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i evenLanes = _mm_set1_epi16(0x00FF);
  __m128i controls = zero;  // a count per lane, at most 255
  __m128i zeros = zero;
  for (size_t i = 0; i < n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const __m128i below20 = _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(0x1F)), v);
    const __m128i tabToCr = _mm_sub_epi8(v, _mm_set1_epi8(0x09));
    const __m128i isTabToCr = _mm_cmpeq_epi8(_mm_min_epu8(tabToCr, _mm_set1_epi8(4)), tabToCr);
    const __m128i subEsc = _mm_sub_epi8(v, _mm_set1_epi8(0x1A));
    const __m128i isSubEsc = _mm_cmpeq_epi8(_mm_min_epu8(subEsc, _mm_set1_epi8(1)), subEsc);
    const __m128i other = _mm_or_si128(_mm_andnot_si128(_mm_or_si128(isTabToCr, isSubEsc), below20),
                                       _mm_cmpeq_epi8(v, _mm_set1_epi8(0x7F)));
    controls = _mm_sub_epi8(controls, other);
    zeros = _mm_or_si128(zeros, _mm_cmpeq_epi8(v, zero));
  }
  const __m128i sums = _mm_sad_epu8(controls, zero);
  counts.controls += static_cast<size_t>(_mm_cvtsi128_si32(sums)) +
                     static_cast<size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
  counts.zeroAtEven |= _mm_movemask_epi8(_mm_and_si128(zeros, evenLanes)) != 0;
  counts.zeroAtOdd |= _mm_movemask_epi8(_mm_andnot_si128(evenLanes, zeros)) != 0;
}
#else
void CountBlock(const unsigned char* p, size_t n, ByteCounts& counts) {
  for (size_t i = 0; i < n; ++i) {
    counts.controls += OtherControl(p[i]);
    if (p[i] == 0) (i & 1 ? counts.zeroAtOdd : counts.zeroAtEven) = true;
  }
}
#endif

#if defined(QZU_NON_TEXT_AVX2)
// Thirty-two bytes a step, each sorted by two table look-ups: one by its low
// four bits, one by its high four, whose flags meet only for the control
// characters no text uses (0x00-0x08, 0x0E-0x19, 0x1C-0x1F and 0x7F).
constexpr size_t kWideBlockBytes = 255 * 32;

__attribute__((target("avx2"))) void CountWideBlock(const unsigned char* p, size_t n, ByteCounts& counts) {
  // Flag 1: high half 0 and low half not 9-D; flag 2: high half 1 and low
  // half not A-B; flag 4: 0x7F.
  const __m256i byLow = _mm256_setr_epi8(3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 0, 0, 2, 2, 3, 7,  //
                                         3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 0, 0, 2, 2, 3, 7);
  const __m256i byHigh = _mm256_setr_epi8(1, 2, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0,  //
                                          1, 2, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0);
  const __m256i nibble = _mm256_set1_epi8(0x0F);
  const __m256i one = _mm256_set1_epi8(1);
  const __m256i zero = _mm256_setzero_si256();
  __m256i controls = zero;  // a count per lane, at most 255
  __m256i zeros = zero;
  for (size_t i = 0; i < n; i += 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
    const __m256i low = _mm256_shuffle_epi8(byLow, _mm256_and_si256(v, nibble));
    const __m256i high = _mm256_shuffle_epi8(byHigh, _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble));
    controls = _mm256_add_epi8(controls, _mm256_min_epu8(_mm256_and_si256(low, high), one));
    zeros = _mm256_or_si256(zeros, _mm256_cmpeq_epi8(v, zero));
  }
  const __m256i sums = _mm256_sad_epu8(controls, zero);
  const __m128i half = _mm_add_epi64(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
  counts.controls += static_cast<size_t>(_mm_cvtsi128_si64(half)) +
                     static_cast<size_t>(_mm_cvtsi128_si64(_mm_srli_si128(half, 8)));
  const auto zeroMask = static_cast<uint32_t>(_mm256_movemask_epi8(zeros));
  counts.zeroAtEven |= (zeroMask & 0x55555555u) != 0;
  counts.zeroAtOdd |= (zeroMask & 0xAAAAAAAAu) != 0;
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

// Counts every byte of `bytes`, stopping early once zero bytes stand on both
// sides (the verdict "no text" whatever follows).
ByteCounts CountBytes(std::string_view bytes) {
  ByteCounts counts;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t whole = 0;
#if defined(QZU_NON_TEXT_AVX2)
  if (HasAvx2()) {
    const size_t wide = bytes.size() & ~size_t{31};
    for (; whole < wide; whole += kWideBlockBytes) {
      CountWideBlock(p + whole, std::min(kWideBlockBytes, wide - whole), counts);
      if (counts.zeroAtEven && counts.zeroAtOdd) return counts;
    }
    whole = wide;
  }
#endif
  for (const size_t vectors = bytes.size() & ~size_t{15}; whole < vectors;) {
    const size_t n = std::min(kBlockBytes, vectors - whole);
    CountBlock(p + whole, n, counts);
    whole += n;
    if (counts.zeroAtEven && counts.zeroAtOdd) return counts;
  }
  for (size_t i = whole; i < bytes.size(); ++i) {
    counts.controls += OtherControl(p[i]);
    if (p[i] == 0) (i & 1 ? counts.zeroAtOdd : counts.zeroAtEven) = true;
  }
  return counts;
}

#if defined(QZU_NON_TEXT_AVX2)
// The control characters among `units[0, n)`, n a multiple of 16, counted
// as CountUnitControls below does, sixteen units a step.
__attribute__((target("avx2"))) size_t CountWideUnitControls(const char16_t* units, size_t n) {
  const __m256i zero = _mm256_setzero_si256();
  __m256i controls = zero;  // at most n / 16 a lane: the caller's blocks keep it below 2^15
  for (size_t i = 0; i < n; i += 16) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(units + i));
    const __m256i below20 =
        _mm256_cmpeq_epi16(_mm256_and_si256(v, _mm256_set1_epi16(static_cast<short>(0xFFE0))), zero);
    const __m256i tabToCr = _mm256_sub_epi16(v, _mm256_set1_epi16(0x09));
    const __m256i isTabToCr = _mm256_andnot_si256(_mm256_cmpgt_epi16(tabToCr, _mm256_set1_epi16(4)),
                                                  _mm256_cmpgt_epi16(tabToCr, _mm256_set1_epi16(-1)));
    const __m256i subEsc = _mm256_sub_epi16(v, _mm256_set1_epi16(0x1A));
    const __m256i isSubEsc = _mm256_andnot_si256(_mm256_cmpgt_epi16(subEsc, _mm256_set1_epi16(1)),
                                                 _mm256_cmpgt_epi16(subEsc, _mm256_set1_epi16(-1)));
    const __m256i other = _mm256_or_si256(_mm256_andnot_si256(_mm256_or_si256(isTabToCr, isSubEsc), below20),
                                          _mm256_cmpeq_epi16(v, _mm256_set1_epi16(0x7F)));
    controls = _mm256_sub_epi16(controls, other);
  }
  const __m256i pairs = _mm256_madd_epi16(controls, _mm256_set1_epi16(1));
  __m128i sums = _mm_add_epi32(_mm256_castsi256_si128(pairs), _mm256_extracti128_si256(pairs, 1));
  sums = _mm_add_epi32(sums, _mm_srli_si128(sums, 8));
  sums = _mm_add_epi32(sums, _mm_srli_si128(sums, 4));
  return static_cast<size_t>(_mm_cvtsi128_si32(sums));
}
#endif

// The control characters among `units` no text uses, counted until more
// than `enough` are found (then the count is somewhere above it).
#if defined(__SSE2__)
size_t CountUnitControls(const char16_t* units, size_t size, size_t enough) {
  size_t count = 0;
  size_t start = 0;
#if defined(QZU_NON_TEXT_AVX2)
  if (HasAvx2()) {
    constexpr size_t kWideBlockUnits = 4096;
    const size_t wide = size & ~size_t{15};
    for (; start < wide && count <= enough; start += std::min(kWideBlockUnits, wide - start))
      count += CountWideUnitControls(units + start, std::min(kWideBlockUnits, wide - start));
    if (count > enough) return count;
  }
#endif
  const size_t whole = size & ~size_t{7};
  const __m128i zero = _mm_setzero_si128();
  constexpr size_t kBlockUnits = 2048;  // per-lane counts stay far below 2^15
  for (size_t at = start; at < whole && count <= enough; at += kBlockUnits) {
    const size_t end = std::min(at + kBlockUnits, whole);
    __m128i controls = zero;
    for (size_t i = at; i < end; i += 8) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i));
      const __m128i below20 = _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xFFE0))), zero);
      // Below 0x20 the differences are small, so signed compares read them.
      const __m128i tabToCr = _mm_sub_epi16(v, _mm_set1_epi16(0x09));
      const __m128i isTabToCr = _mm_andnot_si128(_mm_cmpgt_epi16(tabToCr, _mm_set1_epi16(4)),
                                                 _mm_cmpgt_epi16(tabToCr, _mm_set1_epi16(-1)));
      const __m128i subEsc = _mm_sub_epi16(v, _mm_set1_epi16(0x1A));
      const __m128i isSubEsc = _mm_andnot_si128(_mm_cmpgt_epi16(subEsc, _mm_set1_epi16(1)),
                                                _mm_cmpgt_epi16(subEsc, _mm_set1_epi16(-1)));
      const __m128i other = _mm_or_si128(_mm_andnot_si128(_mm_or_si128(isTabToCr, isSubEsc), below20),
                                         _mm_cmpeq_epi16(v, _mm_set1_epi16(0x7F)));
      controls = _mm_sub_epi16(controls, other);
    }
    // Eight lane counts to one: pairs of 16-bit lanes, then the halves.
    __m128i sums = _mm_madd_epi16(controls, _mm_set1_epi16(1));
    sums = _mm_add_epi32(sums, _mm_srli_si128(sums, 8));
    sums = _mm_add_epi32(sums, _mm_srli_si128(sums, 4));
    count += static_cast<size_t>(_mm_cvtsi128_si32(sums));
  }
  if (count > enough) return count;
  for (size_t i = whole; i < size; ++i) count += OtherControl(units[i]);
  return count;
}
#else
size_t CountUnitControls(const char16_t* units, size_t size, size_t enough) {
  size_t count = 0;
  for (size_t i = 0; i < size && count <= enough; ++i) count += OtherControl(units[i]);
  return count;
}
#endif

// The fewest control characters that make `size` characters no text.
size_t ControlsForNoText(size_t size) {
  const size_t share = size * kControlsPerHundred / 100;
  return std::max(kStrayControls, share) + 1;
}

// Whether `bytes` are UTF-16 text in that byte order: whole units, every
// surrogate in a pair, and no more control characters than text has. Read
// in place; ends at the first unpaired surrogate or once the controls are
// too many.
bool Utf16ReadingIsText(std::string_view bytes, bool littleEndian) {
  if (bytes.size() & 1) return false;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size() / 2;
  const size_t tooMany = ControlsForNoText(size);
  const int lo = littleEndian ? 0 : 1;
  size_t controls = 0;
  bool pendingHigh = false;  // the unit before was a high surrogate
  for (size_t i = 0; i < size; ++i) {
    const unsigned u = static_cast<unsigned>(p[2 * i + 1 - lo]) << 8 | p[2 * i + lo];
    const bool low = (u & 0xFC00) == 0xDC00;
    if (pendingHigh != low) return false;
    pendingHigh = (u & 0xFC00) == 0xD800;
    if (OtherControl(u) && ++controls >= tooMany && TooManyControls(controls, size)) return false;
  }
  return !pendingHigh;
}

std::atomic<bool> g_checkEnabled{true};

// The verdict on `bytes` from their counts.
bool NoTextByCounts(std::string_view bytes, const ByteCounts& counts) {
  if (bytes.empty() || !g_checkEnabled.load(std::memory_order_relaxed)) return false;
  if (counts.zeroAtEven || counts.zeroAtOdd) {
    // Only UTF-16 text without a mark holds zero bytes: every one the high
    // half of a unit, in one byte order, and the units so read text.
    if (counts.zeroAtEven && counts.zeroAtOdd) return true;
    return !Utf16ReadingIsText(bytes, counts.zeroAtOdd);  // little-endian: the high byte comes second
  }
  // CJK text in UTF-16 has no zero bytes, but many below 0x20.
  return TooManyControls(counts.controls, bytes.size()) && !Utf16ReadingIsText(bytes, true) &&
         !Utf16ReadingIsText(bytes, false);
}

}  // namespace

bool BytesHoldNoText(std::string_view bytes) { return NoTextByCounts(bytes, CountBytes(bytes)); }

void NonTextByteCounter::Grow(std::string_view bytes) {
  if (m_zeroAtEven && m_zeroAtOdd) return;  // settled: no text
  const size_t upTo = bytes.size() & ~size_t{31};
  if (upTo <= m_counted) return;
  const ByteCounts counts = CountBytes(bytes.substr(m_counted, upTo - m_counted));
  m_controls += counts.controls;
  m_zeroAtEven |= counts.zeroAtEven;
  m_zeroAtOdd |= counts.zeroAtOdd;
  m_counted = upTo;
}

bool NonTextByteCounter::HoldsNoText(std::string_view bytes, size_t markLength) {
  if (!TextCheckEnabled()) return false;
  markLength = std::min(markLength, bytes.size());
  // The marks (EF BB BF, FF FE, FE FF) hold neither zero bytes nor controls:
  // the counts of the whole file are those after the mark, in its places.
  bool markCounted = m_counted <= bytes.size();
  for (size_t i = 0; i < markLength && markCounted; ++i)
    markCounted = bytes[i] != 0 && !OtherControl(static_cast<unsigned char>(bytes[i]));
  if (!markCounted) return rg_Ombrine_app::BytesHoldNoText(bytes.substr(markLength));
  Grow(bytes);
  ByteCounts counts;
  counts.controls = m_controls;
  counts.zeroAtEven = m_zeroAtEven;
  counts.zeroAtOdd = m_zeroAtOdd;
  if (!(counts.zeroAtEven && counts.zeroAtOdd)) {
    const ByteCounts tail = CountBytes(bytes.substr(m_counted));  // m_counted is even
    counts.controls += tail.controls;
    counts.zeroAtEven |= tail.zeroAtEven;
    counts.zeroAtOdd |= tail.zeroAtOdd;
  }
  if (markLength & 1) std::swap(counts.zeroAtEven, counts.zeroAtOdd);
  return NoTextByCounts(bytes.substr(markLength), counts);
}

void NonTextUnitCounter::Grow(std::string_view bytes) {
  if (m_counted > bytes.size() || reinterpret_cast<uintptr_t>(bytes.data()) % alignof(char16_t) != 0) return;
  const size_t upTo = bytes.size() & ~size_t{31};
  if (upTo <= m_counted) return;
  // The buffer's start is aligned for units, and m_counted keeps them so.
  m_controls += CountUnitControls(reinterpret_cast<const char16_t*>(bytes.data() + m_counted), (upTo - m_counted) / 2,
                                  SIZE_MAX);
  m_counted = upTo;
}

bool NonTextUnitCounter::Finish(std::string_view bytes) {
  if (m_counted > bytes.size() || reinterpret_cast<uintptr_t>(bytes.data()) % alignof(char16_t) != 0) return false;
  Grow(bytes);
  // A last odd byte is no unit; the mark's unit (U+FEFF) is no control.
  m_controls += CountUnitControls(reinterpret_cast<const char16_t*>(bytes.data() + m_counted),
                                  (bytes.size() - m_counted) / 2, SIZE_MAX);
  m_counted = bytes.size();
  return true;
}

bool NonTextUnitCounter::HoldsNoText(size_t unitCount) const {
  return TextCheckEnabled() && TooManyControls(m_controls, unitCount);
}

void SetTextCheckEnabled(bool enabled) { g_checkEnabled.store(enabled, std::memory_order_relaxed); }
bool TextCheckEnabled() { return g_checkEnabled.load(std::memory_order_relaxed); }

bool UnitsHoldNoText(std::u16string_view units) {
  if (!TextCheckEnabled()) return false;
  return TooManyControls(CountUnitControls(units.data(), units.size(), ControlsForNoText(units.size())), units.size());
}

}  // namespace rg_Ombrine_app
