#pragma once
// Removal or extraction of duplicate records ("极速去重"). A record is a line
// by default, or the piece between occurrences of a separator the user types.
// Records are compared by a key: the whole record, or one field of it.
#include <cstdint>

#include "common/boxed.h"
#include "common/wstring.h"

// The modes: which records of each key are kept. Any other value keeps the
// first record of each key as well.
inline constexpr int32_t kDedupeKeepFirst = 0;   // the first record of each key
inline constexpr int32_t kDedupeKeepUnique = 1;  // the records whose key occurs exactly once
inline constexpr int32_t kDedupeKeepSecond = 2;  // for each key that repeats, its second record

// `recordSeparator` may be "", "换行" or "\r\n" typed as four characters (all
// CR LF, and the line break is then detected in the text), "\r" or "\n" typed
// as two characters; the resolved break is written back into it. Any other
// text is used literally. `fieldSeparator` empty: the key is the whole record;
// else the key is field `fieldNumber` (from 1), empty when there is no such
// field. `trimFlag` removes code units 0 to 32 at both ends of each record,
// `skipEmptyFlag` drops records that are empty (after trimming). The output
// is the kept records, in input order, joined by the resolved separator;
// `counter` grows by one per record written.
void DedupeLines(CWString& text, CWString& recordSeparator, int32_t mode, const CWString& fieldSeparator,
                 int32_t fieldNumber, int32_t trimFlag, int32_t skipEmptyFlag, rg_Ombrine_base::rg_ZhengShuLei& counter);
