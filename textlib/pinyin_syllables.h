#pragma once
// The pinyin syllables the built-in reading table (resource 506) points into.
// textlib/pinyin_syllables.cpp is generated together with resources 505 and
// 506 by tools/gen_pinyin_tables.py; the three always change together.
namespace rg_Tavelkin_MingLingJi {

// Lower-case ASCII letters, ü written as v ("lv", "nve").
extern const char16_t* const kPinyinTonelessSyllables[];
extern const int kPinyinTonelessSyllablesCount;
// Tone marks as precomposed letters; a neutral tone has no mark.
extern const char16_t* const kPinyinTonedSyllables[];
extern const int kPinyinTonedSyllablesCount;

}  // namespace rg_Tavelkin_MingLingJi
