#include "textlib/escape_codec.h"

#include <string>

#include "textlib/hex_digit.h"
#include "textlib/html_entity_table.h"

namespace {

constexpr char16_t kCr = 13;
constexpr char16_t kLf = 10;
constexpr char16_t kTab = 9;
constexpr uint32_t kMaxCodePoint = 0x10FFFF;

bool IsDecimalDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsNameUnit(char16_t c) {
  return IsDecimalDigit(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

void AppendHex4(std::u16string& out, char16_t unit) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(unit >> shift) & 15];
}

void AppendDecimal(std::u16string& out, uint32_t value) {
  char16_t digits[10];
  int count = 0;
  do {
    digits[count++] = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value);
  while (count) out += digits[--count];
}

// A code up to U+FFFF is one unit (the encoder writes surrogates one by one,
// so they must come back as single units); above it, a surrogate pair.
void AppendCode(std::u16string& out, uint32_t code) {
  if (code <= 0xFFFF) {
    out += static_cast<char16_t>(code);
    return;
  }
  code -= 0x10000;
  out += static_cast<char16_t>(0xD800 + (code >> 10));
  out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
}

bool IsJsonPunctuation(char16_t c) {
  switch (c) {
    case u'"': case u'\'': case u'\\': case u'/': case u'{': case u'}': case u'[': case u']':
      return true;
    default:
      return false;
  }
}

void AppendEscaped(std::u16string& out, std::u16string_view in, size_t i, int kind) {
  const char16_t c = in[i];
  if (kind == kEscapeBackslash) {
    if (c == kCr) {
      // CR LF becomes the single "\n" that the LF writes.
      if (i + 1 < in.size() && in[i + 1] == kLf) return;
      out += u"\\r";
    } else if (c == kLf) {
      out += u"\\n";
    } else if (c == kTab) {
      out += u"\\t";
    } else {
      out += u"\\u";
      AppendHex4(out, c);
    }
  } else if (kind == kEscapeHtmlHex) {
    out += u"&#x";
    AppendHex4(out, c);
    out += u';';
  } else {
    out += u"&#";
    AppendDecimal(out, c);
    out += u';';
  }
}

// Kind 0 from in[i], which is "\" or "%"; returns the units consumed.
size_t DecodeBackslash(std::u16string& out, std::u16string_view in, size_t i) {
  const size_t n = in.size();
  const char16_t lead = in[i];
  if (i + 1 >= n) {
    out += lead;
    return 1;
  }
  const char16_t d = in[i + 1];
  if (d == u'u') {
    if (i + 5 < n) {
      uint32_t value = 0;
      bool ok = true;
      for (size_t k = i + 2; k < i + 6 && ok; ++k) {
        const int h = HexDigitValue(in[k]);
        ok = h >= 0;
        value = value * 16 + static_cast<uint32_t>(h);
      }
      if (ok) {
        out += static_cast<char16_t>(value);
        return 6;
      }
    }
    // Not an escape ("C:\users"): keep the lead and read on from the "u".
    out += lead;
    return 1;
  }
  if (lead == u'%') {
    out += lead;
    return 1;
  }
  switch (d) {
    case u'r':
      // "\r\n" is one line break: the "\n" that follows writes it.
      if (!(i + 3 < n && in[i + 2] == u'\\' && in[i + 3] == u'n')) out += kCr;
      break;
    case u'n': out += kCr; out += kLf; break;
    case u't': out += kTab; break;
    default: out += d; break;
  }
  return 2;
}

// Kinds 1 and 2 from in[i] == '&'; returns the units consumed, or 0 when no
// well-formed reference starts here (the caller then copies the "&").
size_t DecodeReference(std::u16string& out, std::u16string_view in, size_t i) {
  const size_t n = in.size();
  if (i + 1 >= n) return 0;
  if (in[i + 1] == u'#') {
    if (i + 2 < n && in[i + 2] == u'x') {
      size_t j = i + 3;
      uint32_t value = 0;
      while (j < n && j - (i + 3) < 7 && HexDigitValue(in[j]) >= 0)
        value = value * 16 + static_cast<uint32_t>(HexDigitValue(in[j++]));
      const size_t digits = j - (i + 3);
      if (digits < 1 || digits > 6 || j >= n || in[j] != u';' || value > kMaxCodePoint) return 0;
      AppendCode(out, value);
      return j + 1 - i;
    }
    size_t j = i + 2;
    uint32_t value = 0;
    bool tooLarge = false;
    for (; j < n && in[j] != u';'; ++j) {
      if (!IsDecimalDigit(in[j])) return 0;
      // Stop adding once out of range, but keep checking that all are digits.
      if (!tooLarge) {
        value = value * 10 + static_cast<uint32_t>(in[j] - u'0');
        tooLarge = value > kMaxCodePoint;
      }
    }
    if (j == i + 2 || tooLarge) return 0;
    AppendCode(out, value);
    return (j < n ? j + 1 : n) - i;  // at the end of the text the ";" may be missing
  }
  size_t j = i + 1;
  while (j < n && in[j] != u';') {
    if (!IsNameUnit(in[j])) return 0;
    ++j;
  }
  // An unterminated name ("AT&T") is plain text.
  if (j == i + 1 || j >= n) return 0;
  const std::u16string_view name = in.substr(i + 1, j - i - 1);
  if (const int code = LookupHtmlEntity(name)) {
    AppendCode(out, static_cast<uint32_t>(code));
  } else {
    out += u'&';
    out += name;
    out += u';';
  }
  return j + 1 - i;
}

}  // namespace

void EscapeText(CWString& text, bool escapeAscii, bool escapeLineBreaks, int kind) {
  if (kind < kEscapeBackslash || kind > kEscapeHtmlDecimal) return;
  const std::u16string_view in = text.View();
  std::u16string out;
  out.reserve(in.size() * 2);
  for (size_t i = 0; i < in.size(); ++i) {
    const char16_t c = in[i];
    bool escape;
    if (c >= 0x80) {
      escape = true;
    } else if (kind == kEscapeBackslash && IsJsonPunctuation(c)) {
      out += u'\\';
      out += c;
      continue;
    } else if (c == kCr || c == kLf || c == kTab) {
      escape = escapeLineBreaks;
    } else {
      escape = escapeAscii;
    }
    if (escape)
      AppendEscaped(out, in, i, kind);
    else
      out += c;
  }
  text = CWString(std::move(out));
}

void UnescapeText(CWString& text, int kind) {
  if (kind < kEscapeBackslash || kind > kEscapeHtmlDecimal) return;
  const std::u16string_view in = text.View();
  std::u16string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size();) {
    const char16_t c = in[i];
    if (kind == kEscapeBackslash && (c == u'\\' || c == u'%')) {
      i += DecodeBackslash(out, in, i);
    } else if (kind != kEscapeBackslash && c == u'&') {
      const size_t used = DecodeReference(out, in, i);
      if (used) {
        i += used;
      } else {
        out += c;
        ++i;
      }
    } else {
      out += c;
      ++i;
    }
  }
  text = CWString(std::move(out));
}
