#include "common/utf.h"

#include <cstdint>
#include <cstring>

#include "common/ascii_blocks.h"

#if defined(QZU_ASCII_BLOCKS) && (defined(__GNUC__) || defined(__clang__))
#include <tmmintrin.h>
#define QZU_THREE_BYTE_BLOCKS 1
#endif

namespace qzu {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Length of the well-formed sequence that starts at p (1 to 4), or 0 with
// `bad` set to the length of the maximal ill-formed prefix to replace.
inline size_t DecodeOne(const uint8_t* p, const uint8_t* end, uint32_t& cp, size_t& bad) {
  const uint8_t b0 = p[0];
  const size_t avail = static_cast<size_t>(end - p);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  bad = 1;
  if (b0 < 0xC2 || b0 > 0xF4) return 0;
  if (b0 < 0xE0) {
    if (avail < 2 || (p[1] & 0xC0) != 0x80) return 0;
    cp = ((b0 & 0x1Fu) << 6) | (p[1] & 0x3Fu);
    return 2;
  }
  uint8_t lo = 0x80, hi = 0xBF;
  if (b0 == 0xE0) lo = 0xA0;
  else if (b0 == 0xED) hi = 0x9F;
  else if (b0 == 0xF0) lo = 0x90;
  else if (b0 == 0xF4) hi = 0x8F;
  if (avail < 2 || p[1] < lo || p[1] > hi) return 0;
  bad = 2;
  if (b0 < 0xF0) {
    if (avail < 3 || (p[2] & 0xC0) != 0x80) return 0;
    cp = ((b0 & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
    return 3;
  }
  if (avail < 3 || (p[2] & 0xC0) != 0x80) return 0;
  bad = 3;
  if (avail < 4 || (p[3] & 0xC0) != 0x80) return 0;
  cp = ((b0 & 0x07u) << 18) | ((p[1] & 0x3Fu) << 12) | ((p[2] & 0x3Fu) << 6) | (p[3] & 0x3Fu);
  return 4;
}

}  // namespace

size_t Utf8ToUtf16(const char* utf8, size_t size, char16_t* out) {
  char16_t* dst = out;
  const uint8_t* p = reinterpret_cast<const uint8_t*>(utf8);
  const uint8_t* const end = p + size;
  while (p < end) {
    const uint32_t b0 = *p;
    const size_t avail = static_cast<size_t>(end - p);
    // The common well-formed sequences inline, three bytes (CJK) first;
    // anything unusual goes to the careful decoder below.
    if ((b0 & 0xF0) == 0xE0 && avail >= 3) {
      // Runs of three-byte characters stay in this loop.
      const uint8_t* const runStart = p;
      uint32_t lead = b0;
      for (;;) {
        const uint32_t c1 = p[1] ^ 0x80u, c2 = p[2] ^ 0x80u;
        const uint32_t cp = ((lead & 0x0Fu) << 12) | (c1 << 6) | c2;
        if ((c1 | c2) >= 0x40 || cp < 0x800 || (cp & 0xF800) == 0xD800) break;
        *dst++ = static_cast<char16_t>(cp);
        p += 3;
        if (end - p < 3) break;
        lead = *p;
        if ((lead & 0xF0) != 0xE0) break;
      }
      if (p != runStart) continue;
    } else if (b0 < 0x80) {
#if defined(QZU_ASCII_BLOCKS)
      // ASCII runs, sixteen bytes at a time, widened to units. There is room
      // for the whole block, as the output never has more units than the
      // input has bytes.
      if (avail >= 16) {
        const unsigned ascii = WidenAsciiBlock(p, dst);
        dst += ascii;
        p += ascii;
        continue;
      }
#endif
      *dst++ = static_cast<char16_t>(b0);
      ++p;
      continue;
    } else if ((b0 & 0xE0) == 0xC0 && b0 >= 0xC2 && avail >= 2) {
      const uint32_t c1 = p[1] ^ 0x80u;
      if (c1 < 0x40) {
        *dst++ = static_cast<char16_t>(((b0 & 0x1Fu) << 6) | c1);
        p += 2;
        continue;
      }
    }
    uint32_t cp = 0;
    size_t bad = 1;
    const size_t n = DecodeOne(p, end, cp, bad);
    if (n == 0) {
      *dst++ = kReplacement;
      p += bad;
    } else if (cp >= 0x10000) {
      cp -= 0x10000;
      *dst++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *dst++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
      p += n;
    } else {
      *dst++ = static_cast<char16_t>(cp);
      p += n;
    }
  }
  return static_cast<size_t>(dst - out);
}

void AppendUtf8ToUtf16(std::string_view utf8, std::u16string& out) {
  const size_t start = out.size();
  out.resize(start + utf8.size());  // never more units than bytes
  out.resize(start + Utf8ToUtf16(utf8.data(), utf8.size(), out.data() + start));
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  AppendUtf8ToUtf16(utf8, out);
  return out;
}

namespace {

// A unit that is not ASCII (with the low half after it when it starts a
// pair) to UTF-8; a lone surrogate becomes U+FFFD.
inline void EncodeNonAscii(const char16_t*& p, const char16_t* end, char*& dst) {
  uint32_t c = *p++;
  if (c < 0x800) {
    dst[0] = static_cast<char>(0xC0 | (c >> 6));
    dst[1] = static_cast<char>(0x80 | (c & 0x3F));
    dst += 2;
    return;
  }
  if ((c & 0xF800) == 0xD800) {
    if (IsHighSurrogate(static_cast<char16_t>(c)) && p < end && IsLowSurrogate(*p)) {
      const uint32_t cp = 0x10000 + ((c - 0xD800) << 10) + (*p++ - 0xDC00u);
      dst[0] = static_cast<char>(0xF0 | (cp >> 18));
      dst[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      dst[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      dst[3] = static_cast<char>(0x80 | (cp & 0x3F));
      dst += 4;
      return;
    }
    c = kReplacement;
  }
  dst[0] = static_cast<char>(0xE0 | (c >> 12));
  dst[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  dst[2] = static_cast<char>(0x80 | (c & 0x3F));
  dst += 3;
}

// An ASCII unit, or with eight units left a block of them. There is room
// for the whole block, as eight units remain and each has three bytes.
inline void EncodeAscii(const char16_t*& p, const char16_t* end, char*& dst) {
#if defined(QZU_ASCII_BLOCKS)
  if (end - p >= 8) {
    const unsigned ascii = NarrowAsciiBlock(p, dst);
    dst += ascii;
    p += ascii;
    return;
  }
#else
  (void)end;
#endif
  *dst++ = static_cast<char>(*p++);
}

size_t Utf16ToUtf8Units(const char16_t* p, size_t count, char* out) {
  char* dst = out;
  const char16_t* const end = p + count;
  while (p < end) {
    if (*p < 0x80) EncodeAscii(p, end, dst);
    else EncodeNonAscii(p, end, dst);
  }
  return static_cast<size_t>(dst - out);
}

#if defined(QZU_THREE_BYTE_BLOCKS)
// The same with runs of units that each take three bytes (U+0800 to U+FFFF
// less the surrogates: Chinese text and its punctuation) eight at a time,
// to 24 bytes. SSSE3 (byte shuffles), present on every x86-64 processor of
// the last fifteen years; asked for at run time.
__attribute__((target("ssse3"))) size_t Utf16ToUtf8Blocks(const char16_t* p, size_t count, char* out) {
  const __m128i lead = _mm_set1_epi16(0xE0);
  const __m128i trail = _mm_set1_epi16(0x80);
  const __m128i six = _mm_set1_epi16(0x3F);
  const __m128i kind = _mm_set1_epi16(static_cast<short>(0xF800));
  const __m128i surrogate = _mm_set1_epi16(static_cast<short>(0xD800));
  // Bytes of `ab` (unit k: lead byte at 2k, middle byte at 2k+1) and of `cc`
  // (unit k: last byte at k) to their places in the 24 bytes of output.
  const __m128i ab0 = _mm_setr_epi8(0, 1, -1, 2, 3, -1, 4, 5, -1, 6, 7, -1, 8, 9, -1, 10);
  const __m128i c0 = _mm_setr_epi8(-1, -1, 0, -1, -1, 1, -1, -1, 2, -1, -1, 3, -1, -1, 4, -1);
  const __m128i ab1 = _mm_setr_epi8(11, -1, 12, 13, -1, 14, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1);
  const __m128i c1 = _mm_setr_epi8(-1, 5, -1, -1, 6, -1, -1, 7, -1, -1, -1, -1, -1, -1, -1, -1);
  char* dst = out;
  const char16_t* const end = p + count;
  const auto threeBytes = [](uint32_t c) { return c >= 0x800 && (c & 0xF800) != 0xD800; };
  while (p < end) {
    uint32_t c = *p;
    if (!threeBytes(c)) {
      if (c < 0x80) EncodeAscii(p, end, dst);
      else EncodeNonAscii(p, end, dst);
      continue;
    }
    // A short run (a character or two between ASCII words) goes unit by
    // unit; one still going after four units goes on eight at a time.
    int n = 0;
    do {
      dst[0] = static_cast<char>(0xE0 | (c >> 12));
      dst[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      dst[2] = static_cast<char>(0x80 | (c & 0x3F));
      dst += 3;
      ++p;
    } while (++n < 4 && p < end && threeBytes(c = *p));
    if (n < 4) continue;
    while (end - p >= 8) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i k = _mm_and_si128(v, kind);
      const unsigned other = static_cast<unsigned>(
          _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(k, _mm_setzero_si128()), _mm_cmpeq_epi16(k, surrogate))));
      const __m128i a = _mm_or_si128(_mm_srli_epi16(v, 12), lead);
      const __m128i b = _mm_or_si128(_mm_and_si128(_mm_srli_epi16(v, 6), six), trail);
      const __m128i cl = _mm_or_si128(_mm_and_si128(v, six), trail);
      const __m128i ab = _mm_or_si128(a, _mm_slli_epi16(b, 8));
      const __m128i cc = _mm_packus_epi16(cl, cl);
      // All 24 bytes are stored (eight units leave room for them); where a
      // unit of another kind ends the run only those before it count, and
      // the rest is written over next.
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst),
                       _mm_or_si128(_mm_shuffle_epi8(ab, ab0), _mm_shuffle_epi8(cc, c0)));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 16),
                       _mm_or_si128(_mm_shuffle_epi8(ab, ab1), _mm_shuffle_epi8(cc, c1)));
      if (other) {
        const unsigned units = static_cast<unsigned>(__builtin_ctz(other)) / 2;
        p += units;
        dst += 3 * units;
        break;
      }
      p += 8;
      dst += 24;
    }
  }
  return static_cast<size_t>(dst - out);
}

const bool kThreeByteBlocks = __builtin_cpu_supports("ssse3");
#endif

}  // namespace

size_t Utf16ToUtf8(const char16_t* utf16, size_t count, char* out) {
#if defined(QZU_THREE_BYTE_BLOCKS)
  if (kThreeByteBlocks) return Utf16ToUtf8Blocks(utf16, count, out);
#endif
  return Utf16ToUtf8Units(utf16, count, out);
}

void AppendUtf16ToUtf8(std::u16string_view utf16, std::string& out) {
  const size_t start = out.size();
  out.resize(start + utf16.size() * 3);  // at most three bytes per unit
  out.resize(start + Utf16ToUtf8(utf16.data(), utf16.size(), out.data() + start));
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  AppendUtf16ToUtf8(utf16, out);
  return out;
}

std::u16string SystemPathToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  const uint8_t* p = reinterpret_cast<const uint8_t*>(bytes.data());
  const uint8_t* const end = p + bytes.size();
  while (p < end) {
    uint32_t cp = 0;
    size_t bad = 0;
    const size_t n = DecodeOne(p, end, cp, bad);
    if (n == 0) {
      // Each byte on its own, so that the way back gives exactly these bytes.
      out += static_cast<char16_t>(kEscapedByteBase + *p++);
      continue;
    }
    if (cp >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
    p += n;
  }
  return out;
}

std::string Utf16ToSystemPath(std::u16string_view text) {
  // U+DC80 to U+DCFF stands for a byte unless it is the low half of a pair
  // (U+1F480 is D83D DC80, for one).
  const auto escaped = [&text](size_t k) {
    const char16_t c = text[k];
    return c >= kEscapedByteBase + 0x80 && c <= kEscapedByteBase + 0xFF && (k == 0 || !IsHighSurrogate(text[k - 1]));
  };
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    // Runs without escaped bytes take the ordinary encoder.
    size_t j = i;
    while (j < text.size() && !escaped(j)) ++j;
    AppendUtf16ToUtf8(text.substr(i, j - i), out);
    for (; j < text.size() && escaped(j); ++j) out += static_cast<char>(text[j] - kEscapedByteBase);
    i = j;
  }
  return out;
}

}  // namespace qzu
