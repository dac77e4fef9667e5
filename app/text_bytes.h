#pragma once
// Turning the working text into the bytes the byte functions work on, and
// back, by the chosen character format; Base64 forms of bytes (the hexadecimal
// form is BytesToHexText of textlib/byte_code_forms.h).
#include <cstddef>
#include <string_view>

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
// Base64 as the decode takes it: groups of the alphabet (A-Z, a-z, 0-9, "+",
// "/") with blanks and line breaks (units 0 to 32) anywhere between them. A
// piece ends at its padding "="; another piece may follow on a later line,
// as the encode of a list writes one piece a line ("YQ==\r\nYg=="). A last
// group without its padding is taken as it is.
struct Base64Fault {
  enum Kind {
    kNone,
    kForeignUnit,       // a unit outside the alphabet, the padding and the blanks
    kDataAfterPadding,  // a letter after "=" on the same line
  };
  Kind kind = kNone;
  size_t position = std::u16string_view::npos;  // of the first unit at fault
};
Base64Fault FindBase64Fault(std::u16string_view text);
// The message of a single decode refused for `fault`: which unit, counted
// from 1, and what is wrong with it.
CWString NotBase64Message(const CWString& text, const Base64Fault& fault);
// Decodes the pieces of a text that FindBase64Fault accepts, one after
// another.
CQzuMem Base64Decode(const CWString& text);

}  // namespace rg_Ombrine_app
