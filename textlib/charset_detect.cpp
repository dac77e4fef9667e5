#include "textlib/charset_detect.h"

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

bool LooksLikeUtf8(const void* data, size_t size) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  const uint8_t* const end = p + size;
  size_t valid = 0, invalid = 0;
  // Branches with constant advances, so that the scan runs ahead on
  // prediction; the three-byte test comes first, as Chinese text is mostly
  // three-byte sequences.
  while (p < end) {
#if defined(__SSE2__)
    // Sixteen bytes at a time while they hold only whole ASCII, two- and
    // three-byte sequences: then each lead byte is one valid sequence, just
    // as the byte-by-byte count below would find. A sequence that runs past
    // the block ends the block before its lead.
    while (end - p >= 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const uint32_t high = static_cast<uint32_t>(_mm_movemask_epi8(v));
      if (high == 0) {
        p += 16;
        continue;
      }
      const auto top = [&v](int mask, int value) {
        return static_cast<uint32_t>(_mm_movemask_epi8(
            _mm_cmpeq_epi8(_mm_and_si128(v, _mm_set1_epi8(static_cast<char>(mask))), _mm_set1_epi8(static_cast<char>(value)))));
      };
      const uint32_t cont = top(0xC0, 0x80);
      const uint32_t lead2 = top(0xE0, 0xC0);
      const uint32_t lead3 = top(0xF0, 0xE0);
      const uint32_t expected = (lead2 << 1) | (lead3 << 1) | (lead3 << 2);
      if ((cont | lead2 | lead3) != high || cont != (expected & 0xFFFF)) break;
      // Leads whose sequence does not end inside the block.
      const uint32_t open = (lead2 & 0x8000) | (lead3 & 0xC000);
      const uint32_t whole = open ? (open & (0u - open)) - 1 : 0xFFFF;  // bits below the first open lead
      valid += static_cast<size_t>(__builtin_popcount((lead2 | lead3) & whole));
      p += open ? __builtin_ctz(open) : 16;
      if (open) break;
    }
    if (p >= end) break;
#endif
    const uint32_t b = *p;
    const size_t left = static_cast<size_t>(end - p);
    if ((b & 0xF0) == 0xE0 && left >= 3 && ((p[1] & 0xC0) == 0x80) && ((p[2] & 0xC0) == 0x80)) {
      ++valid;
      p += 3;
    } else if (b < 0x80) {
#if defined(__SSE2__)
      // ASCII runs, sixteen bytes at a time.
      while (end - p >= 16 && !_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)))) p += 16;
      if (p < end && *p < 0x80) ++p;
#else
      ++p;
#endif
    } else if ((b & 0xE0) == 0xC0 && left >= 2 && (p[1] & 0xC0) == 0x80) {
      ++valid;
      p += 2;
    } else {
      ++invalid;
      p += 1;
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
