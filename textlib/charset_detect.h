#pragma once
// Charset names, detection of the charset of a byte buffer, and byte-order
// marks. Names are compared after ASCII upper-casing of a copy; the special
// ones are "" (detect), "ANSI" (the system code page), "UTF8"/"UTF-8",
// "UTF-16"/"UTF-16LE" (little-endian, the in-memory form) and "UTF-16BE".
#include <cstddef>
#include <cstdint>

#include "common/boxed.h"
#include "common/mem.h"
#include "common/wstring.h"

// Whether `name` equals one item of `list` split at any unit of `separators`
// (items trimmed of units 0 to 32, empty ones dropped). Case-sensitive: the
// callers upper-case both sides first.
bool CharsetInList(const CWString& name, const CWString& list, const CWString& separators);

// Whether a buffer without a mark reads as UTF-8: it holds well-formed
// sequences of two to four bytes, and at most one bad byte per
// kValidPerBadByte of them. So a long UTF-8 text keeps its answer with a
// stray byte or two, while a short text with any bad byte (a few Chinese
// characters in GBK, say) is not UTF-8. What counts as a sequence and as a
// bad byte: textlib/charset_detect_count.h (forms that never occur in UTF-8,
// such as overlong ones and surrogates, are bad bytes). A well-formed
// beginning of a sequence that the end of the buffer cuts off counts for
// neither side (Utf8CutTailLength).
inline constexpr uint64_t kValidPerBadByte = 8;
bool LooksLikeUtf8(const CQzuMem& bytes);
bool LooksLikeUtf8(const void* data, size_t size);

// The charset of a buffer: a mark ("UTF-8" 3, "UTF-16" 2, "UTF-16BE" 2, the
// mark length written to `markLength`), else a zero second byte "UTF-16", a
// zero first byte "UTF-16BE", else "UTF-8" by LooksLikeUtf8, else the table
// name of the system code page ("gbk"), or "GBK" when it has no row. On code
// page 936 a buffer that LooksLikeUtf8 is still "gbk" when its GBK reading is
// likelier (GbkReadingIsLikelier, textlib/charset_detect_readings.h).
// `markLength` is written only when a mark is found: the caller sets it to 0.
CWString DetectEncoding(const CQzuMem& bytes, rg_Ombrine_base::rg_ZhengShuLei& markLength);
CWString DetectEncoding(const CQzuMem& bytes, int& markLength);

// The byte-order mark of a charset when `wanted`: EF BB BF for "UTF-8",
// FF FE for "UTF-16"/"UTF-16LE", FE FF for "UTF-16BE"; empty otherwise.
CQzuMem MakeBom(const CWString& name, bool wanted);
