#pragma once
// Trimming blanks, and the two one-character helpers of the text functions.
#include "common/wstring.h"

// Blanks here: code units 0 to 32, U+00A0 (no-break space), U+3000
// (ideographic space).
bool IsTrimBlank(char16_t c);

// The modes of TrimBlanks; any other mode leaves the text as it is.
inline constexpr int kTrimBothEnds = 0;
inline constexpr int kTrimStart = 1;
inline constexpr int kTrimEnd = 2;
inline constexpr int kTrimEverywhere = 3;  // every blank anywhere goes

void TrimBlanks(CWString& text, int mode);

// The first code unit; 32 (a space) for the empty text.
char16_t FirstChar(const CWString& text);

// A text holding the record separator U+001E alone (multi-line settings store
// their line breaks as it).
CWString MakeRecordSeparator();
