#include "textlib/charset_detect_utf16.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "textlib/text_controls.h"

namespace {

// Whether a unit is a character of everyday writing: ASCII and the text
// controls above, Latin, Greek and Cyrillic letters, punctuation, CJK ideographs
// and punctuation, kana, Hangul and full-width forms.
constexpr bool Everyday(unsigned u) {
  return TextControl(u) || (u >= 0x20 && u <= 0x7E) || (u >= 0xA0 && u <= 0x24F) ||
         (u >= 0x370 && u <= 0x4FF) || (u >= 0x2000 && u <= 0x206F) || (u >= 0x3000 && u <= 0x30FF) ||
         (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xFF00 && u <= 0xFFEF);
}

// The everyday characters among the units of `p[0, 2 * units)`, read with
// the high byte at `p[2 * i + high]` (a pair of surrogates counts as two);
// -1 when they are no text: a surrogate alone (one cut off at the end is
// allowed when `cut` says the text goes on), U+FFFE or U+FFFF, or too many
// control characters.
long EverydayInReading(const uint8_t* p, size_t units, int high, bool cut) {
  const size_t tooMany = std::max<size_t>(2, units / 100) + 1;
  size_t controls = 0, everyday = 0;
  bool pendingHigh = false;  // the unit before was a high surrogate
  for (size_t i = 0; i < units; ++i) {
    const unsigned u = static_cast<unsigned>(p[2 * i + high]) << 8 | p[2 * i + 1 - high];
    const bool low = (u & 0xFC00) == 0xDC00;
    if (pendingHigh != low) return -1;
    everyday += low ? 2 : Everyday(u);
    pendingHigh = (u & 0xFC00) == 0xD800;
    if (u >= 0xFFFE) return -1;
    if (OtherControl(u) && ++controls == tooMany) return -1;
  }
  return pendingHigh && !cut ? -1 : static_cast<long>(everyday);
}

}  // namespace

CWString DetectUnmarkedUtf16(const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  const bool cut = size > kUnmarkedUtf16Block;
  if (!cut && (size & 1)) return CWString();
  const size_t block = std::min(size, kUnmarkedUtf16Block) & ~size_t{1};
  if (block == 0 || std::memchr(p, 0, block) == nullptr) return CWString();  // most text, at once
  size_t zerosAt[2] = {0, 0};
  for (size_t i = 0; i < block; ++i) zerosAt[i & 1] += p[i] == 0;
  // Most zero bytes are the high halves of ASCII and Latin-1 units, but
  // characters such as 一 (U+4E00) and the ideographic space (U+3000) put
  // theirs on the other side: the order is the one whose reading is text
  // with more everyday characters, and with as many, the one with the most
  // zero bytes high. Little-endian puts the high byte second.
  const size_t units = block / 2;
  const long little = EverydayInReading(p, units, 1, cut);
  const long big = EverydayInReading(p, units, 0, cut);
  if (little == big && zerosAt[0] == zerosAt[1]) return CWString();
  const bool littleEndian = little != big ? little > big : zerosAt[1] > zerosAt[0];
  // Nine in ten units of text are everyday characters.
  const long everyday = littleEndian ? little : big;
  if (everyday < 0 || static_cast<size_t>(everyday) * 10 < units * 9) return CWString();
  return CWString(littleEndian ? u"UTF-16" : u"UTF-16BE");
}
