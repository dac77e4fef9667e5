#pragma once
// GbkReadingIsLikelier: which reading wins when bytes are well-formed both as
// UTF-8 and as GBK. Short Chinese texts in GBK often are: D3 AC C8 B1 C4 B9
// C2 B6 is 蝇缺墓露 in GBK and "ӬȱĹ¶" in UTF-8. DetectEncoding asks it on a
// system whose code page is 936, where GBK is the likelier charset to begin
// with. Pure function of the bytes; any thread.
#include <cstddef>

// True when both hold:
// - GBK: every byte of 80-FF is the first of a pair that is a common Chinese
//   character (GB2312 level 1, B0A1-D7F9) or punctuation (GB2312 rows A1 and
//   A3: marks, symbols, full-width forms); ASCII bytes stand alone;
// - UTF-8: the bytes are well-formed, and what they write is no text: its
//   letters belong to scripts that no language writes together (Latin beside
//   Cyrillic, Greek beside Armenian...; Han, kana, bopomofo and Hangul go
//   together), or it holds a code point Unicode leaves unassigned, or a
//   combining mark with no letter before it.
// ASCII counts for neither side: it reads the same both ways. So a reading
// in one script (café, Grüße, Привет, Ελληνικά), or of symbols alone (25°C),
// stays UTF-8.
bool GbkReadingIsLikelier(const void* data, size_t size);
