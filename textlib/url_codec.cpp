#include "textlib/url_codec.h"

#include <cstring>
#include <new>
#include <string>

#include "textlib/charset_convert.h"
#include "textlib/hex_digit.h"

namespace {

const CWString kUtf16Le(u"UTF-16LE");

// Throws std::bad_alloc when memory runs out, as every step here does: a
// shortened text would pass for the encoded or decoded one.
CQzuMem Utf16LeBytes(std::u16string_view text) { return CQzuMem(text.data(), text.size() * sizeof(char16_t)); }

void AppendRunByte(CQzuMem& run, uint8_t b) {
  if (!run.AppendByte(b)) throw std::bad_alloc();
}

// Units of a UTF-16LE buffer; an odd last byte is the low byte of a unit.
std::u16string UnitsOf(const CQzuMem& bytes) {
  std::u16string units((bytes.GetSize() + 1) / 2, u'\0');
  if (bytes.GetSize()) std::memcpy(units.data(), bytes.GetData(), bytes.GetSize());
  return units;
}

bool MustEncode(uint8_t b, bool encodeAscii, bool encodeLineBreaks, bool encodeQueryMarks) {
  // A zero byte (the high half of every ASCII unit in UTF-16BE) would put a
  // NUL into the address: always encoded.
  if (b >= 0x80 || b == ' ' || b == '%' || b == '+' || b == 0) return true;
  if (b == '\r' || b == '\n') return encodeLineBreaks;
  if (b == '&' || b == '=' || b == '?') return encodeQueryMarks;
  return encodeAscii;
}

// Bytes between typed characters, read in the mode's encoding and appended
// to `out`; false when the charset is not known.
bool AppendDecodedRun(CQzuMem& run, int mode, CWString& charset, std::u16string& out) {
  if (run.IsEmpty()) return true;
  if (mode == kUrlSystemCodePage && charset.IsEmpty()) {
    AnsiToUtf16(run);
  } else if (mode == kUrlSystemCodePage) {
    CWString to = kUtf16Le;
    if (!ConvertCharset(run, charset, to, 0)) return false;
  } else if (mode == kUrlUtf8) {
    Utf8ToUtf16(run);
  }
  // Any other mode: the bytes already are UTF-16LE.
  out += UnitsOf(run);
  run.Empty();
  return true;
}

}  // namespace

rg_Ombrine_base::rg_ZiFuShuZuLei ToHexDigits(int value) {
  rg_Ombrine_base::rg_ZiFuShuZuLei digits;
  if (value < 0) return digits;
  static const char kDigits[] = "0123456789ABCDEF";
  char reversed[8];
  int count = 0;
  unsigned v = static_cast<unsigned>(value);
  do {
    reversed[count++] = kDigits[v & 15];
    v >>= 4;
  } while (v);
  if (count < 2) reversed[count++] = '0';
  while (count) digits.Add(reversed[--count]);
  return digits;
}

void UrlEncode(CWString& text, int mode, bool encodeAscii, bool encodeLineBreaks, bool encodeQueryMarks,
               CWString& charset) {
  CQzuMem bytes = Utf16LeBytes(text.View());
  if (mode == kUrlSystemCodePage && charset.IsEmpty()) {
    Utf16ToAnsi(bytes);
  } else if (mode == kUrlSystemCodePage) {
    CWString from = kUtf16Le;
    if (!ConvertCharset(bytes, from, charset, 0)) {
      text.Empty();
      return;
    }
  } else if (mode == kUrlUtf8) {
    Utf16ToUtf8(bytes);
  } else {
    SwapUtf16ByteOrder(bytes);
  }
  std::u16string out;
  out.reserve(bytes.GetSize() * 3);
  for (size_t i = 0; i < bytes.GetSize(); ++i) {
    const uint8_t b = bytes[i];
    if (MustEncode(b, encodeAscii, encodeLineBreaks, encodeQueryMarks)) {
      out += u'%';
      for (char digit : ToHexDigits(b)) out += static_cast<char16_t>(digit);
    } else {
      out += static_cast<char16_t>(b);
    }
  }
  text = CWString(std::move(out));
}

void UrlEncode(CWString& text, int mode, bool encodeAscii, bool encodeLineBreaks, bool encodeQueryMarks,
               const CWString& charset) {
  CWString name = charset;
  UrlEncode(text, mode, encodeAscii, encodeLineBreaks, encodeQueryMarks, name);
}

void UrlDecode(CWString& text, int mode, CWString& charset) {
  // Settles the charset name (and rewrites it) even when no bytes follow.
  if (mode == kUrlSystemCodePage && !charset.IsEmpty()) {
    CQzuMem probe;
    CWString to = kUtf16Le;
    if (!ConvertCharset(probe, charset, to, 0)) {
      text.Empty();
      return;
    }
  }
  const std::u16string_view in = text.View();
  std::u16string out;
  out.reserve(in.size());
  CQzuMem run;
  for (size_t i = 0; i < in.size();) {
    const char16_t c = in[i];
    if (c == u'%' && i + 2 < in.size() && HexDigitValue(in[i + 1]) >= 0 && HexDigitValue(in[i + 2]) >= 0) {
      AppendRunByte(run, static_cast<uint8_t>(HexDigitValue(in[i + 1]) * 16 + HexDigitValue(in[i + 2])));
      i += 3;
    } else if (c > 0x7F) {
      // A character typed in stays as it is; it splits the byte runs, so no
      // decoded byte can be taken for it.
      if (!AppendDecodedRun(run, mode, charset, out)) {
        text.Empty();
        return;
      }
      out += c;
      ++i;
    } else {
      AppendRunByte(run, static_cast<uint8_t>(c));
      ++i;
    }
  }
  if (!AppendDecodedRun(run, mode, charset, out)) {
    text.Empty();
    return;
  }
  text = CWString(std::move(out));
}

void UrlDecode(CWString& text, int mode, const CWString& charset) {
  CWString name = charset;
  UrlDecode(text, mode, name);
}
