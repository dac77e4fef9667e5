#pragma once
// One-to-one character tables between simplified and traditional Chinese,
// taken from OpenCC's character dictionaries (STCharacters, TSCharacters).
// Only mappings that keep the length in UTF-16 code units are kept (a BMP
// character to a BMP character, a supplementary one to a supplementary one),
// so a mapped text is exactly as long as the original. Where the dictionary
// offers several characters, the first (its default) is used.
#include <cstddef>

namespace qzu {

enum class ChineseScript { Traditional, Simplified };

// Maps `length` UTF-16 units in place to `target` script. Characters without a
// counterpart, and unpaired surrogates, stay as they are. The tables are built
// once, on first use, from any thread; when OpenCC's data cannot be read the
// text is left unchanged.
void MapChineseScript(char16_t* text, size_t length, ChineseScript target);

// Number of characters the table for `target` changes (0 when the dictionary
// could not be loaded).
size_t ChineseScriptTableSize(ChineseScript target);

}  // namespace qzu
