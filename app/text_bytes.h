#pragma once
// Turning the working text into the bytes the byte functions work on, and
// back, by the chosen character format; Base64 forms of bytes (the hexadecimal
// form is BytesToHexText of textlib/byte_code_forms.h).
#include "app/conversion_options.h"
#include "common/mem.h"
#include "common/utf16le.h"
#include "common/wstring.h"

namespace rg_Ombrine_app {

// Text to bytes: ANSI code page, UTF-8 without a mark, UTF-16LE or UTF-16BE;
// `Raw` leaves `bytes` unchanged.
void TextToBytes(const CWString& text, CharFormat format, CQzuMem& bytes);
// Bytes to text by the same formats. False for `Raw`, which has no text.
bool BytesToText(CQzuMem& bytes, CharFormat format, CWString& text);

// Base64 with the standard alphabet and "=" padding, no line breaks.
CWString Base64Of(const CQzuMem& bytes);
// Decodes Base64; blanks and line breaks (units 0 to 32) are skipped. Meant
// for a text that FirstNonBase64Unit accepts.
CQzuMem Base64Decode(const CWString& text);
// The position of the first unit that is neither in the Base64 alphabet
// (A-Z, a-z, 0-9, "+", "/"), nor a padding "=" after the last of those, nor
// a blank or line break (units 0 to 32); npos when there is none.
size_t FirstNonBase64Unit(std::u16string_view text);

}  // namespace rg_Ombrine_app
