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
// Converts into `dst`, which has room for `size` units (never more units than
// bytes); returns the number of units written.
size_t Utf8ToUtf16(const char* utf8, size_t size, char16_t* dst);

// UTF-16 units to UTF-8. A lone surrogate gives the three bytes of U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);
void AppendUtf16ToUtf8(std::u16string_view utf16, std::string& out);
// Converts into `dst`, which has room for 3 * `count` bytes; returns the
// number of bytes written.
size_t Utf16ToUtf8(const char16_t* utf16, size_t count, char* dst);

// Paths between the system and the program's texts. A file name on Linux is
// any bytes, not always UTF-8 (old archives carry GBK names): each byte that
// is not part of well-formed UTF-8 becomes the lone low surrogate U+DC80 to
// U+DCFF (0xDC00 + the byte) and goes back to that byte, so that every name
// read from the system is given back to it byte for byte. Other lone
// surrogates become the bytes of U+FFFD, as in Utf16ToUtf8.
inline constexpr char16_t kEscapedByteBase = 0xDC00;
std::u16string SystemPathToUtf16(std::string_view bytes);
std::string Utf16ToSystemPath(std::u16string_view text);

inline bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace qzu
