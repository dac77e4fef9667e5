#pragma once
// Text forms of byte buffers for the byte-code functions (hexadecimal pairs,
// comma-separated decimal numbers) and two small formatters: a boolean as
// "1"/"0" for font descriptions and an elapsed time with a Chinese unit.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/mem.h"
#include "common/wstring.h"

// The byte converters throw std::bad_alloc when memory runs out (the buffer
// or text then as it was): a short result would pass for the whole one.

// Appends the bytes that the text's hexadecimal pairs spell to `bytes` and
// returns it. An odd last character is ignored. "0"-"9", "A"-"F", "a"-"f" give
// their values; any other first character of a pair gives the high half F,
// any other second character makes the byte FF. Blanks are not skipped. The
// pointer form reads up to the first zero unit; a null pointer appends nothing.
CQzuMem& HexTextToBytes(const char16_t* text, CQzuMem& bytes);
CQzuMem& HexTextToBytes(std::u16string_view text, CQzuMem& bytes);

// The bytes as upper-case hexadecimal pairs without separators ("00FF41").
CWString BytesToHexText(const uint8_t* data, size_t size);
inline CWString BytesToHexText(const CQzuMem& bytes) { return BytesToHexText(bytes.GetData(), bytes.GetSize()); }

// The bytes as unsigned decimal numbers joined by "," ("0,65,255").
void BytesToDecimalList(const CQzuMem& bytes, CWString& text);

// Replaces `bytes` by the list's numbers, each cut to its low 8 bits. Items
// are split at ",", trimmed of units 0 to 32, empty ones dropped; each reads
// as an optional sign and leading digits (none give 0). A number too large
// for a 32-bit int counts as the int's limit.
void DecimalListToBytes(const CWString& text, CQzuMem& bytes);

CWString BoolToText(bool value);

// "999 毫秒", "1.23 秒", "3 月": the largest unit below its next step, the
// number to at most two decimals.
CWString FormatElapsed(int64_t milliseconds);
