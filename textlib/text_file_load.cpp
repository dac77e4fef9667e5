#include "textlib/text_file_load.h"

#include <cstring>

#include "textlib/charset_convert.h"
#include "textlib/charset_detect.h"

namespace {

bool StartsWith(const CQzuMem& bytes, const char* mark, size_t n) {
  return bytes.GetSize() >= n && std::memcmp(bytes.GetData(), mark, n) == 0;
}

int MarkLengthOf(const CQzuMem& bytes, const CWString& charset) {
  const CWString upper = charset.ToUpperAscii();
  if (upper == u"UTF-8") return StartsWith(bytes, "\xEF\xBB\xBF", 3) ? 3 : 0;
  if (upper == u"UTF-16" || upper == u"UTF-16LE") return StartsWith(bytes, "\xFF\xFE", 2) ? 2 : 0;
  if (upper == u"UTF-16BE") return StartsWith(bytes, "\xFE\xFF", 2) ? 2 : 0;
  return 0;
}

bool Load(CQzuMem& bytes, const CWString& path, CWString& charset, rg_Ombrine_base::rg_LuoJiXingLei& hasMark,
          CQzuMem* rawBytes) {
  if (!path.IsEmpty()) {
    if (!ReadWholeFile(path, bytes)) bytes.Free();  // an unreadable file reads as empty
    if (rawBytes && !rawBytes->IsNull()) *rawBytes = bytes;
  }
  const int markLength = TextCharsetOf(bytes, charset);
  hasMark.value = markLength != 0;
  CWString to(u"UTF-16");
  return ConvertCharset(bytes, charset, to, markLength);
}

}  // namespace

int TextCharsetOf(const CQzuMem& bytes, CWString& charset) {
  int markLength = 0;
  if (charset.IsEmpty()) charset = DetectEncoding(bytes, markLength);
  else markLength = MarkLengthOf(bytes, charset);
  return markLength;
}

bool LoadTextFile(CQzuMem& bytes, const CWString& path, CWString& charset, rg_Ombrine_base::rg_LuoJiXingLei& hasMark,
                  CQzuMem& rawBytes) {
  return Load(bytes, path, charset, hasMark, &rawBytes);
}

bool LoadTextFile(CQzuMem& bytes, const CWString& path, CWString& charset, rg_Ombrine_base::rg_LuoJiXingLei& hasMark) {
  return Load(bytes, path, charset, hasMark, nullptr);
}

CWString ReadTextFile(const CWString& path, CWString& charset, rg_Ombrine_base::rg_LuoJiXingLei& hasMark) {
  CQzuMem bytes;
  if (!Load(bytes, path, charset, hasMark, nullptr)) return CWString();
  const size_t units = bytes.GetSize() / 2;
  std::u16string text(units + (bytes.GetSize() & 1), u'\0');
  if (units) std::memcpy(text.data(), bytes.GetData(), units * 2);
  if (bytes.GetSize() & 1) text[units] = 0xFFFD;
  return CWString(std::move(text));
}
