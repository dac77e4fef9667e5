#pragma once
// Escapes of UTF-16 code units and their decoding, in three kinds:
//   0  backslash escapes as in JSON ("\u4F60", "\n", "\/");
//   1  hexadecimal HTML references ("&#x4F60;");
//   2  decimal HTML references ("&#20320;").
// The encoder works per code unit, so a character outside the BMP becomes two
// escapes, one per surrogate. The decoder of kinds 1 and 2 (they decode alike)
// also knows the named references of HtmlEntityTable().
#include "common/wstring.h"

// The kinds, as `kind` of EscapeText and UnescapeText.
inline constexpr int kEscapeBackslash = 0;    // "\u4F60", "\n", "\/"
inline constexpr int kEscapeHtmlHex = 1;      // "&#x4F60;"
inline constexpr int kEscapeHtmlDecimal = 2;  // "&#20320;"

// Replaces `text` by its escaped form. Units from 0x80 up are always escaped;
// with kind 0 the characters " ' \ / { } [ ] get a backslash in front whatever
// the flags; CR, LF and TAB are escaped only with `escapeLineBreaks`, other
// ASCII only with `escapeAscii`. With kind 0 a CR directly before an escaped
// LF is left out, so CR LF becomes "\n". Any other kind leaves the text alone.
void EscapeText(CWString& text, bool escapeAscii, bool escapeLineBreaks, int kind);

// Replaces `text` by its decoded form. What is not a well-formed escape stays
// exactly as typed: "\u" and "%u" need four hexadecimal digits; "&#x" needs one
// to six hexadecimal digits and ";"; "&#" needs decimal digits and ";" (or the
// end of the text); a named reference needs its ";". Codes above U+FFFF become
// surrogate pairs; codes above U+10FFFF stay as typed. A decoded U+0000 is kept
// like any other unit. Any other kind leaves the text alone.
void UnescapeText(CWString& text, int kind);
