#include "textlib/charset_detect.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/system_code_page.h"
#include "textlib/code_page_table.h"

bool CharsetInList(const CWString& name, const CWString& list, const CWString& separators) {
  for (const CWString& item : list.SplitAny(separators.View(), true, true))
    if (item == name) return true;
  return false;
}

namespace {

// The scan decides byte by byte: at a three-byte lead followed by two
// continuation bytes it counts one good sequence and moves on three; at an
// ASCII byte it moves on one; at a two-byte lead followed by a continuation
// byte it counts one good sequence and moves on two; anything else is one bad
// byte. Only continuation bytes are ever stepped over, so every other byte is
// a place where the scan stops, and a continuation byte is one exactly when
// no good sequence starting one or two bytes before covers it. Both counts
// therefore follow from bit masks of 64 bytes at a time.
//
// Forms that never occur in UTF-8 text are no sequences: C0 and C1 lead
// nothing (they could only write ASCII the long way), E0 followed by 80-9F is
// an overlong three-byte form and ED followed by A0-BF a surrogate. The first
// is left out of the two-byte leads; the other two are rare enough that a
// block holding E0 or ED is looked at byte by byte.
struct ByteClasses {
  uint64_t cont = 0;    // 80-BF
  uint64_t lead2 = 0;   // C2-DF
  uint64_t lead3 = 0;   // E0-EF
  uint64_t high = 0;    // 80-FF
  bool e0OrEd = false;  // some byte is E0 or ED
};

// Set bits of a mask, as one count per byte (0 to 8), without the library
// call that plain x86-64 code makes of the builtin.
inline uint64_t ByteCounts(uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555ull;
  x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
  return (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
}

// The sum of the eight byte counts of `x`.
inline uint64_t SumOfBytes(uint64_t x) {
  x = (x & 0x00FF00FF00FF00FFull) + ((x >> 8) & 0x00FF00FF00FF00FFull);
  return (x * 0x0001000100010001ull) >> 48;
}

ByteClasses Classify(const uint8_t* p) {
  ByteClasses c;
#if defined(__SSE2__)
  // Signed comparisons sort the bytes into ranges: 80-BF are below C0, and
  // ASCII bytes are above every high byte.
  const auto bound = [](uint8_t b) { return _mm_set1_epi8(static_cast<char>(b)); };
  const auto bits = [](__m128i m) { return static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(m))); };
  __m128i e0OrEd = _mm_setzero_si128();
  for (int k = 0; k < 4; ++k) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    const int shift = 16 * k;
    const __m128i belowE0 = _mm_cmplt_epi8(v, bound(0xE0));
    c.high |= bits(v) << shift;
    c.cont |= bits(_mm_cmplt_epi8(v, bound(0xC0))) << shift;
    c.lead2 |= bits(_mm_and_si128(_mm_cmpgt_epi8(v, bound(0xC1)), belowE0)) << shift;
    c.lead3 |= bits(_mm_andnot_si128(belowE0, _mm_cmplt_epi8(v, bound(0xF0)))) << shift;
    e0OrEd = _mm_or_si128(e0OrEd, _mm_or_si128(_mm_cmpeq_epi8(v, bound(0xE0)), _mm_cmpeq_epi8(v, bound(0xED))));
  }
  c.e0OrEd = _mm_movemask_epi8(e0OrEd) != 0;
#else
  for (int i = 0; i < 64; ++i) {
    const uint64_t bit = uint64_t{1} << i;
    const uint8_t b = p[i];
    if (b & 0x80) c.high |= bit;
    if ((b & 0xC0) == 0x80) c.cont |= bit;
    if (b >= 0xC2 && b <= 0xDF) c.lead2 |= bit;
    if ((b & 0xF0) == 0xE0) c.lead3 |= bit;
    if (b == 0xE0 || b == 0xED) c.e0OrEd = true;
  }
#endif
  return c;
}

// The E0 and ED leads of a block whose next byte makes an overlong form or
// a surrogate; `following` is the byte after the block.
uint64_t NeverUtf8Leads(const uint8_t* p, uint8_t following) {
  uint64_t bad = 0;
  for (int i = 0; i < 64; ++i) {
    if (p[i] != 0xE0 && p[i] != 0xED) continue;
    const uint8_t next = i < 63 ? p[i + 1] : following;
    if (p[i] == 0xE0 ? next < 0xA0 : next >= 0xA0) bad |= uint64_t{1} << i;
  }
  return bad;
}

}  // namespace

bool LooksLikeUtf8(const void* data, size_t size) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  const size_t blocks = (size + 63) / 64;
  // The last, partial block is read from a copy padded with zero bytes:
  // they are ASCII, so no sequence reaches past the end.
  uint8_t tail[64] = {};
  if (size % 64) std::memcpy(tail, p + (blocks - 1) * 64, size % 64);
  const auto blockAt = [&](size_t k) { return (k + 1 < blocks || size % 64 == 0) ? p + 64 * k : tail; };

  // Per-byte counts gather for a stretch of blocks (at most 8 a block, so a
  // byte holds 16 blocks) before they are summed.
  constexpr size_t kStretch = 16;
  uint64_t valid = 0, invalid = 0;
  uint64_t validBytes = 0, invalidBytes = 0;
  uint64_t prevGood = 0, prevGood3 = 0;
  ByteClasses next = blocks ? Classify(blockAt(0)) : ByteClasses();
  for (size_t k = 0; k < blocks; ++k) {
    const ByteClasses c = next;
    next = k + 1 < blocks ? Classify(blockAt(k + 1)) : ByteClasses();
    if ((c.high | prevGood >> 63 | prevGood3 >> 62) != 0) {  // else all ASCII, nothing carried in
      uint64_t lead3 = c.lead3;
      if (c.e0OrEd) [[unlikely]]
        lead3 &= ~NeverUtf8Leads(blockAt(k), k + 1 < blocks ? blockAt(k + 1)[0] : 0);
      const uint64_t cont1 = (c.cont >> 1) | (next.cont << 63);  // a continuation byte one further on
      const uint64_t cont2 = (c.cont >> 2) | (next.cont << 62);  // and two further on
      const uint64_t good3 = lead3 & cont1 & cont2;
      const uint64_t good = good3 | (c.lead2 & cont1);
      const uint64_t covered = (good << 1) | (good3 << 2) | (prevGood >> 63) | (prevGood3 >> 62);
      validBytes += ByteCounts(good);
      // Bad lead bytes and stray continuation bytes are apart: one count.
      invalidBytes += ByteCounts((c.high & ~c.cont & ~good) | (c.cont & ~covered));
      prevGood = good;
      prevGood3 = good3;
    } else {
      prevGood = prevGood3 = 0;
    }
    if ((k + 1) % kStretch == 0 || k + 1 == blocks) {
      valid += SumOfBytes(validBytes);
      invalid += SumOfBytes(invalidBytes);
      validBytes = invalidBytes = 0;
      // Each good sequence still to come needs two bytes at least: once the
      // bad bytes outnumber every count the good ones could reach, the answer
      // is known (legacy text gets there about halfway).
      const uint64_t rest = size - std::min(size, 64 * (k + 1));
      if (invalid >= valid + rest / 2) return false;
    }
  }
  // "Not every byte was ASCII" follows from valid > invalid >= 0.
  return valid > invalid;
}

bool LooksLikeUtf8(const CQzuMem& bytes) { return LooksLikeUtf8(bytes.GetData(), bytes.GetSize()); }

namespace {

bool StartsWith(const CQzuMem& bytes, const uint8_t* mark, size_t n) {
  return bytes.GetSize() >= n && std::memcmp(bytes.GetData(), mark, n) == 0;
}

}  // namespace

CWString DetectEncoding(const CQzuMem& bytes, int& markLength) {
  static const uint8_t kUtf8[] = {0xEF, 0xBB, 0xBF};
  static const uint8_t kUtf16Le[] = {0xFF, 0xFE};
  static const uint8_t kUtf16Be[] = {0xFE, 0xFF};
  if (StartsWith(bytes, kUtf8, 3)) {
    markLength = 3;
    return CWString(u"UTF-8");
  }
  if (StartsWith(bytes, kUtf16Le, 2)) {
    markLength = 2;
    return CWString(u"UTF-16");
  }
  if (StartsWith(bytes, kUtf16Be, 2)) {
    markLength = 2;
    return CWString(u"UTF-16BE");
  }
  if (bytes.GetSize() > 1) {
    if (bytes[1] == 0) return CWString(u"UTF-16");
    if (bytes[0] == 0) return CWString(u"UTF-16BE");
  }
  if (LooksLikeUtf8(bytes)) return CWString(u"UTF-8");
  CWString name = CodePageToCharset(GetSystemCodePage());
  if (name.IsEmpty()) return CWString(u"GBK");
  return name;
}

CWString DetectEncoding(const CQzuMem& bytes, rg_Ombrine_base::rg_ZhengShuLei& markLength) {
  int mark = markLength.value;
  CWString name = DetectEncoding(bytes, mark);
  markLength.value = mark;
  return name;
}

CQzuMem MakeBom(const CWString& name, bool wanted) {
  if (!wanted) return CQzuMem();
  const CWString upper = name.ToUpperAscii();
  if (upper == u"UTF-8") return CQzuMem("\xEF\xBB\xBF", 3);
  if (upper == u"UTF-16" || upper == u"UTF-16LE") return CQzuMem("\xFF\xFE", 2);
  if (upper == u"UTF-16BE") return CQzuMem("\xFE\xFF", 2);
  return CQzuMem();
}
