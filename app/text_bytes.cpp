#include "app/text_bytes.h"

#include <QByteArray>

#include <new>

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

bool IsLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

}  // namespace

Base64Fault FindBase64Fault(std::u16string_view text) {
  // After an "=" only more of them and blanks may follow on its line; a line
  // break lets the next piece begin.
  bool padding = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsLineBreak(c)) {
      padding = false;
      continue;
    }
    if (c <= 32) continue;
    if (c == u'=') {
      padding = true;
    } else if (!IsBase64Letter(c)) {
      return {Base64Fault::kForeignUnit, i};
    } else if (padding) {
      return {Base64Fault::kDataAfterPadding, i};
    }
  }
  return {};
}

CWString NotBase64Message(const CWString& text, const Base64Fault& fault) {
  const size_t at = fault.position;
  size_t length = 1;
  if (at + 1 < text.GetLength() && (text[at] & 0xFC00) == 0xD800 && (text[at + 1] & 0xFC00) == 0xDC00) length = 2;
  const CWString unit = text.Mid(static_cast<int>(at), static_cast<int>(length));
  CWString what = fault.kind == Base64Fault::kDataAfterPadding
                      ? u"”在同一行的结尾“=”之后（“=”只能出现在一段Base64的末尾，下一段须另起一行）"
                      : u"”不属于Base64字符（A-Z、a-z、0-9、+、/ 与结尾的 =）";
  return u"输入的内容不是Base64编码：第" + CWString::FromInt(static_cast<long long>(at) + 1) + u"个字符“" + unit +
         what + u"。未解码，也未写出任何文件。";
}

CQzuMem Base64Decode(const CWString& text) {
  // Each piece is decoded on its own: the padding inside a joined text would
  // end the decoding there.
  CQzuMem bytes;
  QByteArray piece;
  bool padded = false;
  const auto flush = [&] {
    const QByteArray decoded = QByteArray::fromBase64(piece);
    if (!bytes.Append(decoded.constData(), static_cast<size_t>(decoded.size()))) throw std::bad_alloc();
    piece.clear();
    padded = false;
  };
  for (const char16_t c : text.View()) {
    if (c == u'=') {
      padded = true;
    } else if (IsBase64Letter(c)) {
      if (padded) flush();
    } else {
      continue;
    }
    piece.append(static_cast<char>(c));
  }
  flush();
  return bytes;
}

}  // namespace rg_Ombrine_app
