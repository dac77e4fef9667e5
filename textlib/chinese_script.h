#pragma once
// Simplified and traditional Chinese characters, one for one.
#include "common/wstring.h"

// Converts `text` in place: simplified to traditional when `toTraditional` is
// non-zero, traditional to simplified otherwise. Character by character, so
// the result has exactly as many code units as the input; characters without
// a counterpart stay. A zero unit inside the text is kept and does not end it.
void ConvertChineseScript(CWString& text, int toTraditional);
