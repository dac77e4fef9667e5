#include "textlib/charset_detect_readings.h"

#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include <cstdint>

namespace {

// Every non-ASCII byte starts a pair that is a common character or
// punctuation of GB2312.
bool AllCommonGbk(const uint8_t* p, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    const uint8_t lead = p[i];
    if (lead < 0x80) continue;
    if (i + 1 == size) return false;
    const uint8_t trail = p[++i];
    if (trail < 0xA1 || trail > 0xFE) return false;
    const bool common = lead >= 0xB0 && lead <= 0xD7 && !(lead == 0xD7 && trail > 0xF9);
    if (!common && lead != 0xA1 && lead != 0xA3) return false;
  }
  return true;
}

// Scripts that one language writes together count as one.
UScriptCode ScriptGroup(UScriptCode script) {
  switch (script) {
    case USCRIPT_HIRAGANA:
    case USCRIPT_KATAKANA:
    case USCRIPT_KATAKANA_OR_HIRAGANA:
    case USCRIPT_BOPOMOFO:
    case USCRIPT_HANGUL:
      return USCRIPT_HAN;
    default:
      return script;
  }
}

// The next code point of well-formed UTF-8 at p[i], moving i past it; -1 at
// a byte that starts no well-formed sequence.
UChar32 NextCodePoint(const uint8_t* p, size_t size, size_t& i) {
  const uint8_t b = p[i];
  int more = b >= 0xC2 && b <= 0xDF ? 1 : b >= 0xE0 && b <= 0xEF ? 2 : b >= 0xF0 && b <= 0xF4 ? 3 : -1;
  if (more < 0 || i + more >= size) return -1;
  UChar32 c = b & (0x3F >> more);
  for (int k = 1; k <= more; ++k) {
    if ((p[i + k] & 0xC0) != 0x80) return -1;
    c = (c << 6) | (p[i + k] & 0x3F);
  }
  // The shortest form, no surrogate, nothing past U+10FFFF.
  static const UChar32 kLowest[] = {0, 0x80, 0x800, 0x10000};
  if (c < kLowest[more] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return -1;
  i += more + 1;
  return c;
}

// Whether well-formed UTF-8 writes no text of any language.
bool Utf8ReadingIsNoText(const uint8_t* p, size_t size) {
  bool noText = false;
  UScriptCode seen = USCRIPT_COMMON;
  bool afterLetter = false;  // the code point before is a letter or a mark
  for (size_t i = 0; i < size;) {
    if (p[i] < 0x80) {
      afterLetter = (p[i] | 0x20) >= 'a' && (p[i] | 0x20) <= 'z';
      ++i;
      continue;
    }
    const UChar32 c = NextCodePoint(p, size, i);
    if (c < 0) return false;  // not well-formed: the UTF-8 reading is not a candidate here
    const int32_t category = U_MASK(u_charType(c));
    if (category & U_GC_CN_MASK) noText = true;
    if ((category & U_GC_M_MASK) && !afterLetter) noText = true;
    afterLetter = (category & (U_GC_L_MASK | U_GC_M_MASK)) != 0;
    UErrorCode err = U_ZERO_ERROR;
    const UScriptCode script = ScriptGroup(uscript_getScript(c, &err));
    if (U_FAILURE(err) || script == USCRIPT_COMMON || script == USCRIPT_INHERITED) continue;
    if (seen == USCRIPT_COMMON)
      seen = script;
    else if (script != seen)
      noText = true;
  }
  return noText;
}

}  // namespace

bool GbkReadingIsLikelier(const void* data, size_t size) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  // The byte test first: it fails at once on most UTF-8 text.
  return AllCommonGbk(p, size) && Utf8ReadingIsNoText(p, size);
}
