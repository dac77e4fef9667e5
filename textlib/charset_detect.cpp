#include "textlib/charset_detect.h"

#include <cstdint>
#include <cstring>

#include "platform/system_code_page.h"
#include "textlib/charset_detect_count.h"
#include "textlib/charset_detect_readings.h"
#include "textlib/charset_detect_utf16.h"
#include "textlib/code_page_table.h"

bool CharsetInList(const CWString& name, const CWString& list, const CWString& separators) {
  for (const CWString& item : list.SplitAny(separators.View(), true, true))
    if (item == name) return true;
  return false;
}

bool LooksLikeUtf8(const void* data, size_t size) {
  // A character that the end of the text cuts off (a download or a sample
  // cut short) is no sign of another charset: the text is judged without it.
  const Utf8Counts counts = CountUtf8Sequences(data, size - Utf8CutTailLength(data, size), kValidPerBadByte);
  return counts.valid > 0 && counts.invalid * kValidPerBadByte <= counts.valid;
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
  // Unmarked UTF-16 that starts with a character other than ASCII.
  if (CWString utf16 = DetectUnmarkedUtf16(bytes.GetData(), bytes.GetSize()); !utf16.IsEmpty()) return utf16;
  const int codePage = GetSystemCodePage();
  // Where GBK is the system's charset, a short Chinese text that is also
  // well-formed UTF-8 keeps its GBK reading when the UTF-8 one is no text.
  if (LooksLikeUtf8(bytes) && !(codePage == 936 && GbkReadingIsLikelier(bytes.GetData(), bytes.GetSize())))
    return CWString(u"UTF-8");
  CWString name = CodePageToCharset(codePage);
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
