#pragma once
// UTF-8 <-> UTF-16 conversion loops. Both directions replace what is not
// well-formed with U+FFFD and never stop at a zero unit: a NUL is data.
#include <cstddef>
#include <string>
#include <string_view>

namespace qzu {

// UTF-8 bytes to UTF-16. Each maximal ill-formed subsequence gives one U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
// Appends the conversion to `out`.
void AppendUtf8ToUtf16(std::string_view utf8, std::u16string& out);

// UTF-16 units to UTF-8. A lone surrogate gives the three bytes of U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);
void AppendUtf16ToUtf8(std::u16string_view utf16, std::string& out);

inline bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace qzu
