#pragma once
// Whether a name contains any of a list of keywords (the folder walk skips
// sub-folders by such a list).
#include "common/wstring.h"

// 1 when `text` contains any keyword, else 0. `keywords` is split at every
// character of `separators` (no split when it is empty); pieces are trimmed
// of code units 0 to 32 and empty ones dropped. A non-empty `combinations`
// list is split at "|" (empty pieces count, a final "|" adds none) and the
// keywords become every keyword followed by every piece. ASCII letters match
// without regard to case, every other character exactly.
int ContainsAnyKeyword(const CWString& text, const CWString& keywords, const CWString& combinations,
                       const CWString& separators);
