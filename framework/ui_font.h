#pragma once
// The face standing in for the Windows UI font "微软雅黑" ("Microsoft YaHei"):
// the first installed CJK family whose glyphs draw everything the program
// writes with it (Chinese, pinyin with tone marks, Greek, Cyrillic, the
// entity table's symbols, full-width forms). A font that maps a character to
// an empty glyph stops Qt's fallback for it, so "has the character" is not
// enough: the glyph's outline must not be empty. UI thread, after the
// application object exists.
#include <QString>

// The sample the chosen face must draw: a CJK character, the tone letters
// ā á ǎ à of every vowel and ü, Greek, Cyrillic, symbols, full-width forms.
QString UiFontSample();
// True when `family` is installed and every character of `text` has a
// glyph with ink in it (spaces aside).
bool FamilyDrawsText(const QString& family, const QString& text);
// Chooses the face (Noto Sans CJK SC first, then the other installed CJK
// families, WenQuanYi Micro Hei among them, taking the first that draws the
// sample; the first CJK family when none does) and substitutes it for
// "微软雅黑" and "Microsoft YaHei". Returns the face, empty when no CJK
// family is installed (the substitution is then left as it was).
QString InstallUiFontSubstitution();
