#include "app/text_bytes.h"

#include <QByteArray>

#include "textlib/charset_convert.h"

namespace rg_Ombrine_app {

void TextToBytes(const CWString& text, CharFormat format, CQzuMem& bytes) {
  if (format == CharFormat::Raw) return;
  bytes = Utf16LeBytesOf(text);
  switch (format) {
    case CharFormat::Ansi:
      Utf16ToAnsi(bytes);
      break;
    case CharFormat::Utf8:
      Utf16ToUtf8(bytes);
      break;
    case CharFormat::UnicodeBe:
      SwapUtf16ByteOrder(bytes);
      break;
    default:
      break;
  }
}

bool BytesToText(CQzuMem& bytes, CharFormat format, CWString& text) {
  CQzuMem units = bytes;
  switch (format) {
    case CharFormat::Raw:
      return false;
    case CharFormat::Ansi:
      AnsiToUtf16(units);
      break;
    case CharFormat::Utf8:
      Utf8ToUtf16(units);
      break;
    case CharFormat::UnicodeBe:
      SwapUtf16ByteOrder(bytes);  // the buffer itself is swapped, as the text is read from it
      units = bytes;
      break;
    case CharFormat::Unicode:
      break;
  }
  text = TextOfUtf16Le(units);
  return true;
}

CWString Base64Of(const CQzuMem& bytes) {
  const QByteArray encoded =
      QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.GetData()), static_cast<qsizetype>(bytes.GetSize()))
          .toBase64();
  return CWString::FromUtf8(std::string_view(encoded.constData(), static_cast<size_t>(encoded.size())));
}

namespace {

bool IsBase64Letter(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'+' || c == u'/';
}

}  // namespace

size_t FirstNonBase64Unit(std::u16string_view text) {
  bool padding = false;  // an "=" was met: only more of them and blanks may follow
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c <= 32) continue;
    if (c == u'=') padding = true;
    else if (padding || !IsBase64Letter(c)) return i;
  }
  return std::u16string_view::npos;
}

CQzuMem Base64Decode(const CWString& text) {
  const std::string ascii = text.ToUtf8();
  const QByteArray decoded = QByteArray::fromBase64(QByteArray(ascii.data(), static_cast<qsizetype>(ascii.size())));
  return CQzuMem(decoded.constData(), static_cast<size_t>(decoded.size()));
}

}  // namespace rg_Ombrine_app
