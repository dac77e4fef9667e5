#include "textlib/file_name_clean.h"

#include <algorithm>

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Units of a code point starting at `i` (2 for a whole surrogate pair).
size_t UnitsAt(const std::u16string& s, size_t i) {
  return (IsHighSurrogate(s[i]) && i + 1 < s.size() && IsLowSurrogate(s[i + 1])) ? 2 : 1;
}

// Bytes of the code point starting at `i` in a name given to the system: a
// lone U+DC80 to U+DCFF is the one byte it stands for (a name that is not
// UTF-8, see CWString::ToSystemPath), another lone surrogate is written as
// U+FFFD, three bytes.
int Utf8BytesAt(const std::u16string& s, size_t i) {
  const char16_t c = s[i];
  if (UnitsAt(s, i) == 2) return 4;
  if (c < 0x80 || (c >= 0xDC80 && c <= 0xDCFF)) return 1;
  if (c < 0x800) return 2;
  return 3;
}

}  // namespace

void CleanFileName(CWString& text, int reservedBytes) {
  static constexpr char16_t kReserved[] = {u'\\', u'/', u':', u'*', u'?', u'|', u'<', u'>', u'"'};
  std::u16string& s = text.Str();
  for (char16_t& c : s)
    if (std::find(std::begin(kReserved), std::end(kReserved), c) != std::end(kReserved))
      c = static_cast<char16_t>(c + 0xFEE0);
  // A zero unit would end the name early for the system: it goes too.
  std::erase_if(s, [](char16_t c) { return c == u'\r' || c == u'\n' || c == u'\t' || c == u'\0'; });

  // Walk whole code points so that neither limit cuts a pair in two.
  const int byteLimit = std::max(0, kMaxFileNameBytes - std::max(0, reservedBytes));
  size_t keep = 0;
  int bytes = 0;
  while (keep < s.size()) {
    const size_t units = UnitsAt(s, keep);
    const int more = Utf8BytesAt(s, keep);
    if (keep + units > static_cast<size_t>(kMaxCleanNameUnits) || bytes + more > byteLimit) break;
    keep += units;
    bytes += more;
  }
  s.resize(keep);
}
