#pragma once
// UTF-16 without a byte-order mark whose first character is no ASCII one
// ("中文\r\n" in UTF-16LE begins 2D 4E, with no zero byte in either of the
// first two places). Where text holds zero bytes at all, UTF-16 is the only
// text that does, and the order of its bytes is the one that reads as
// everyday writing.
#include <cstddef>

#include "common/wstring.h"

// The bytes a look at unmarked text reads: enough lines to tell, and no more
// however long the file.
inline constexpr size_t kUnmarkedUtf16Block = size_t{64} << 10;

// "UTF-16" (little-endian) or "UTF-16BE" for the first kUnmarkedUtf16Block
// bytes of `data` when they hold a zero byte and their reading in one order
// is text: the order whose reading holds more characters of everyday
// writing (ASCII, Latin, Greek, Cyrillic, punctuation, CJK, kana, Hangul,
// full-width forms), or with as many, the one with more zero bytes in the
// high half; and in that reading nine in ten units everyday characters or
// surrogates, every surrogate in a pair (one cut off by the end of the block
// excepted), no U+FFFE or U+FFFF, and no more control characters other than
// TAB, LF, VT, FF, CR, SUB and ESC than a stray two or one in a hundred
// units. "" otherwise: no zero byte, no order ahead, half a
// unit at the end of the text, or a reading that is no text.
CWString DetectUnmarkedUtf16(const void* data, size_t size);
