#include "textlib/charset_detect.h"

#include <cstdint>
#include <cstring>

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
  while (p < end) {
    // ASCII runs, eight bytes at a time: the common case in both Latin and
    // mixed Chinese text.
    while (end - p >= 8) {
      uint64_t word;
      std::memcpy(&word, p, 8);
      if (word & 0x8080808080808080ull) break;
      p += 8;
    }
    if (p >= end) break;
    const uint8_t b = *p;
    const size_t left = static_cast<size_t>(end - p);
    if (b < 0x80) {
      p += 1;
    } else if (left >= 2 && (b & 0xE0) == 0xC0 && (p[1] & 0xC0) == 0x80) {
      ++valid;
      p += 2;
    } else if (left >= 3 && (b & 0xF0) == 0xE0 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
      ++valid;
      p += 3;
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
