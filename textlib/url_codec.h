#pragma once
// Percent-encoding of text as the bytes of a chosen encoding, and its
// decoding. Modes: 0 the system code page, or the named charset when one is
// given; 1 UTF-8; any other mode UTF-16BE when encoding and UTF-16LE when
// decoding.
#include "common/arrays.h"
#include "common/wstring.h"

// Both functions throw std::bad_alloc, leaving `text` as it was, when memory
// runs out.

// The modes, as `mode` of UrlEncode and UrlDecode.
inline constexpr int kUrlSystemCodePage = 0;  // or the named charset when one is given
inline constexpr int kUrlUtf8 = 1;
inline constexpr int kUrlUtf16 = 2;  // UTF-16BE when encoding, UTF-16LE when decoding (so is any other mode)

// Replaces `text` by its percent-encoded bytes. Bytes from 0x80 up, the blank,
// "%", "+" and the zero byte are always encoded; CR and LF only with
// `encodeLineBreaks`; "&", "=" and "?" only with `encodeQueryMarks`; other
// ASCII only with `encodeAscii`. An encoded byte is "%" and two upper-case
// hexadecimal digits. `charset` (mode 0 only) is rewritten as ConvertCharset
// rewrites names ("ANSI" becomes "GBK"). When the charset is one nothing
// knows, the result is empty.
void UrlEncode(CWString& text, int mode, bool encodeAscii, bool encodeLineBreaks, bool encodeQueryMarks,
               CWString& charset);
void UrlEncode(CWString& text, int mode, bool encodeAscii, bool encodeLineBreaks, bool encodeQueryMarks,
               const CWString& charset = CWString());

// Replaces `text` by its decoded form: "%" and two hexadecimal digits (either
// case) give a byte, any other "%" stays, "+" stays "+". Characters above
// U+007F typed into the text are kept exactly as they stand, surrogate pairs
// included; the bytes between them are read in the mode's encoding. A decoded
// zero byte is kept like any other. When the charset is one nothing knows,
// the result is empty.
void UrlDecode(CWString& text, int mode, CWString& charset);
void UrlDecode(CWString& text, int mode, const CWString& charset = CWString());

// The upper-case hexadecimal digits of a non-negative value, most significant
// first, at least two ("0A"); a negative value gives an empty array.
rg_Ombrine_base::rg_ZiFuShuZuLei ToHexDigits(int value);
