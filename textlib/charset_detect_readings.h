#pragma once
// GbkReadingIsLikelier: which reading wins when bytes are well-formed both as
// UTF-8 and as GBK. Short Chinese texts in GBK often are: 学校 (D1 A7 D0 A3)
// reads "ѧУ" in UTF-8, 一一 (D2 BB D2 BB) "һһ", 失去 "ʧȥ". DetectEncoding
// asks it on a system whose code page is 936, where GBK is the likelier
// charset to begin with. Pure function of the bytes; any thread.
#include <cstddef>

// True when both hold:
// - GBK: every byte of 80-FF is the first of a pair that is a GB2312
//   character (rows A1-A9 of marks and symbols, levels 1 and 2 of Chinese
//   characters); ASCII bytes stand alone;
// - UTF-8: what the bytes write is no text a person writes. Text is made of
//   words whose letters belong to living alphabets (the Latin-1 and Latin
//   Extended-A letters, the basic Greek, Cyrillic, Hebrew and Arabic ones, and
//   the letters of the scripts beyond U+0800 such as Chinese), one alphabet a
//   word (ASCII letters may stand beside Latin or Greek ones: café, cosθ, μm),
//   with no capital right after a small letter inside it (at its end, as in
//   the unit мкФ, one may stand), and marks that follow a letter. No text: an
//   archaic, phonetic or modifier letter (ѧ һ ʧ ȥ ɽ ˮ ĸ), two alphabets or a
//   small letter, a capital and a letter inside one word, a mark
//   with no letter before it, a control or unassigned code point, a byte that
//   is not well-formed. Words may differ in alphabet (Schrödinger's Ψ, café
//   α); symbols, digits and punctuation count for neither side.
// ASCII reads the same both ways. A character that the end of the text cuts
// off (Utf8CutTailLength) is left out of the UTF-8 reading; a cut reading
// that keeps fewer than two whole characters beyond ASCII is no text.
bool GbkReadingIsLikelier(const void* data, size_t size);
