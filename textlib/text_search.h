#pragma once
// Searching: the text between two marks, replacing every occurrence, and a
// backward search in a byte buffer.
#include "common/arrays.h"
#include "common/mem.h"
#include "common/wstring.h"

// Position value that marks a miss; a later search from it starts over.
inline constexpr int kTextBetweenMiss = -2;
// The directions, as `reverse` of TextBetween.
inline constexpr int kTextBetweenForward = 0;
inline constexpr int kTextBetweenReverse = 1;
// The case rules, as `ignoreCase` of TextBetween.
inline constexpr int kTextBetweenMatchCase = 0;
inline constexpr int kTextBetweenIgnoreCase = 1;

// The text between `startMark` and `endMark`.
// Forward (`reverse` 0): the start mark is searched from `position` (from 0,
// ignoring the position, when it is empty), then the end mark after it (the
// end of the source when it is empty).
// Reverse: the end mark is searched from `position`, then the last start mark
// that lies wholly within the characters before the one preceding the end
// mark; a hit before `position` is a miss.
// On a hit, the start mark's index is appended to `found` (unless it is a null
// object), `position` moves behind the end mark and the text between is
// returned. On a miss `position` becomes -2 and the result is empty.
// `ignoreCase` folds only the ASCII letters.
CWString TextBetween(const CWString& source, const CWString& startMark, const CWString& endMark, int& position,
                     int reverse, int ignoreCase, rg_Ombrine_base::rg_ZhengShuShuZuLei& found);

// Every occurrence of `find` replaced, left to right without overlaps,
// case-sensitively; an empty `find` gives an unchanged copy.
CWString ReplaceAllText(const CWString& text, const CWString& find, const CWString& replacement);

// Index of the last occurrence of `pattern` in `buffer` that ends at or before
// min(start, size); -1 for a negative start, an empty pattern or no occurrence.
long long FindBytesFrom(const CQzuMem& buffer, const CQzuMem& pattern, long long start);
