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
// Decodes Base64; characters outside the alphabet (line breaks, blanks) are skipped.
CQzuMem Base64Decode(const CWString& text);

}  // namespace rg_Ombrine_app
