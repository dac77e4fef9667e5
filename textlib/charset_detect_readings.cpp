#include "textlib/charset_detect_readings.h"

#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include <cstdint>

#include "textlib/charset_detect_count.h"

namespace {

// A GB2312 character or mark: rows A1-A9 and B0-F7, trail A1-FE; D7FA-D7FE
// are empty.
bool IsGb2312Pair(uint8_t lead, uint8_t trail) {
  if (trail < 0xA1 || trail == 0xFF) return false;
  if (lead >= 0xA1 && lead <= 0xA9) return true;
  return lead >= 0xB0 && lead <= 0xF7 && !(lead == 0xD7 && trail > 0xF9);
}

bool AllGb2312(const uint8_t* p, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    if (p[i] < 0x80) continue;
    if (i + 1 == size || !IsGb2312Pair(p[i], p[i + 1])) return false;
    ++i;
  }
  return true;
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

// What a code point beyond ASCII is to a word.
enum class Role {
  kLetter,     // a letter of a living alphabet
  kMark,       // a combining mark: it needs a letter before it
  kWordBreak,  // Chinese, Japanese and Korean characters: a word each
  kOther,      // symbols, digits, punctuation, spaces: between words
  kNoText,     // nothing a person writes
};

// Below U+0800 the living letters are the listed ones: every other letter
// there is archaic (ѧ ĸ ϰ), phonetic (ʧ ɽ) or of a script or extension
// (Latin Extended-B, extended Cyrillic such as һ) that GBK bytes read as
// UTF-8 far more often than people write it.
bool IsLivingLetterBelow800(UChar32 c) {
  if (c >= 0xC0 && c <= 0xFF) return c != 0xD7 && c != 0xF7;
  if (c >= 0x100 && c <= 0x17F) return c != 0x138 && c != 0x149 && c != 0x17F;  // ĸ ŉ ſ are archaic
  if (c >= 0x386 && c <= 0x3CE) return c != 0x387 && c != 0x38B && c != 0x38D && c != 0x3A2;
  if (c >= 0x400 && c <= 0x45F) return true;
  if (c == 0x490 || c == 0x491) return true;  // Ukrainian Ґ ґ
  if (c >= 0x5D0 && c <= 0x5EA) return true;
  if (c >= 0x5F0 && c <= 0x5F2) return true;
  if (c >= 0x620 && c <= 0x64A) return true;
  return c >= 0x671 && c <= 0x6D3;  // the Arabic letters of Persian, Urdu and others
}

Role RoleOf(UChar32 c) {
  const int32_t category = U_MASK(u_charType(c));
  if (category & (U_GC_CN_MASK | U_GC_CO_MASK | U_GC_CC_MASK | U_GC_CS_MASK)) return Role::kNoText;
  if (category & U_GC_M_MASK) return Role::kMark;
  if (c < 0x800) {
    if (c >= 0x2B0 && c <= 0x2FF) return Role::kNoText;  // spacing modifier letters and symbols
    if (category & U_GC_L_MASK) {
      if (c == 0xAA || c == 0xB5 || c == 0xBA) return Role::kOther;  // ª µ º stand as symbols
      return IsLivingLetterBelow800(c) ? Role::kLetter : Role::kNoText;
    }
    return Role::kOther;
  }
  if (!(category & U_GC_L_MASK)) return Role::kOther;
  UErrorCode err = U_ZERO_ERROR;
  switch (uscript_getScript(c, &err)) {
    case USCRIPT_HAN:
    case USCRIPT_HIRAGANA:
    case USCRIPT_KATAKANA:
    case USCRIPT_KATAKANA_OR_HIRAGANA:
    case USCRIPT_BOPOMOFO:
    case USCRIPT_HANGUL:
      return Role::kWordBreak;
    default:
      return Role::kLetter;
  }
}

UScriptCode ScriptOf(UChar32 c) {
  UErrorCode err = U_ZERO_ERROR;
  const UScriptCode script = uscript_getScript(c, &err);
  return U_FAILURE(err) ? USCRIPT_COMMON : script;
}

// Whether well-formed UTF-8 writes no text (the header says what text is).
bool Utf8ReadingIsNoText(const uint8_t* p, size_t size) {
  // The word being read: whether it has ASCII letters, the alphabet of its
  // letters beyond ASCII (USCRIPT_COMMON while none), and the code point
  // before: a letter or mark (with its alphabet), and a small letter beyond
  // ASCII.
  bool asciiInWord = false;
  UScriptCode wordScript = USCRIPT_COMMON;
  bool afterLetter = false;
  UScriptCode letterScript = USCRIPT_COMMON;
  bool afterSmall = false;
  // A capital right after a small letter: no text once another letter
  // follows it in the word. At the end of a word it may be a unit (мкФ).
  bool capitalAfterSmall = false;
  const auto endWord = [&] {
    asciiInWord = afterLetter = afterSmall = capitalAfterSmall = false;
    wordScript = letterScript = USCRIPT_COMMON;
  };
  // ASCII letters stand beside Latin letters and beside Greek ones, which
  // are symbols of science (cosθ, 10μm, mΩ).
  const auto asciiFits = [](UScriptCode script) {
    return script == USCRIPT_COMMON || script == USCRIPT_LATIN || script == USCRIPT_GREEK;
  };
  for (size_t i = 0; i < size;) {
    if (p[i] < 0x80) {
      if ((p[i] | 0x20) >= 'a' && (p[i] | 0x20) <= 'z') {
        if (!asciiFits(wordScript) || capitalAfterSmall) return true;
        asciiInWord = afterLetter = true;
        letterScript = USCRIPT_LATIN;
        afterSmall = false;
      } else {
        endWord();
      }
      ++i;
      continue;
    }
    const UChar32 c = NextCodePoint(p, size, i);
    if (c < 0) return true;
    switch (RoleOf(c)) {
      case Role::kNoText:
        return true;
      case Role::kLetter: {
        const UScriptCode script = ScriptOf(c);
        if (wordScript != USCRIPT_COMMON && script != wordScript) return true;
        if (asciiInWord && !asciiFits(script)) return true;
        if (capitalAfterSmall) return true;
        capitalAfterSmall = afterSmall && u_isupper(c);
        wordScript = letterScript = script;
        afterLetter = true;
        afterSmall = u_islower(c);
        break;
      }
      case Role::kMark: {
        if (!afterLetter) return true;
        const UScriptCode script = ScriptOf(c);
        if (script != USCRIPT_INHERITED && script != USCRIPT_COMMON && script != letterScript) return true;
        break;
      }
      case Role::kWordBreak:
      case Role::kOther:
        endWord();
        break;
    }
  }
  return false;
}

// The code points beyond ASCII in well-formed UTF-8.
size_t CountBeyondAscii(const uint8_t* p, size_t size) {
  size_t n = 0;
  for (size_t i = 0; i < size; ++i) n += p[i] >= 0xC0;
  return n;
}

}  // namespace

bool GbkReadingIsLikelier(const void* data, size_t size) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  // The byte test first: it fails at once on most UTF-8 text.
  if (!AllGb2312(p, size)) return false;
  const size_t cut = Utf8CutTailLength(p, size);
  if (cut > 0 && CountBeyondAscii(p, size - cut) < 2) return true;
  return Utf8ReadingIsNoText(p, size - cut);
}
