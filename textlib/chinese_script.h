#pragma once
// Simplified and traditional Chinese characters, one for one.
#include "common/wstring.h"

// The directions, as `toTraditional` of ConvertChineseScript.
inline constexpr int kToSimplifiedChinese = 0;
inline constexpr int kToTraditionalChinese = 1;

// Converts `text` in place: simplified to traditional when `toTraditional` is
// non-zero (kToTraditionalChinese), traditional to simplified otherwise. Character by character, so
// the result has exactly as many code units as the input; characters without
// a counterpart stay. A zero unit inside the text is kept and does not end it.
void ConvertChineseScript(CWString& text, int toTraditional);
