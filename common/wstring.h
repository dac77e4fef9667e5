#pragma once
// CWString: the text type of the program. UTF-16 code units (char16_t) and a
// length; a zero unit inside a text is data, never an end mark. An empty text
// has length zero. A text can be marked as a null object, which optional out
// parameters use to say "not wanted".
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CWString {
 public:
  CWString() = default;
  CWString(const char16_t* text);  // up to the first zero unit
  CWString(const char16_t* text, size_t length);
  CWString(std::u16string_view text) : m_text(text) {}
  CWString(std::u16string&& text) : m_text(std::move(text)) {}
  CWString(const std::u16string& text) : m_text(text) {}

  // From and to UTF-8 (ill-formed input becomes U+FFFD).
  static CWString FromUtf8(std::string_view utf8);
  std::string ToUtf8() const;
  // From and to the bytes of a path as the system takes it: bytes that are
  // not UTF-8 travel as the units U+DC80 to U+DCFF and come back unchanged
  // (common/utf.h). Our own file calls hand every path to the system and
  // take every name from it through these two (Qt's file classes cannot
  // carry such bytes).
  static CWString FromSystemPath(std::string_view bytes);
  std::string ToSystemPath() const;
  // Decimal text of an integer ("%d").
  static CWString FromInt(long long value);

  // The null object: an empty text with the null flag set.
  static CWString Null();
  bool IsNull() const { return (m_flags & 1u) != 0; }

  size_t GetLength() const { return m_text.size(); }
  int Length() const { return static_cast<int>(m_text.size()); }
  bool IsEmpty() const { return m_text.empty(); }
  // Zero-terminated units; the terminator follows the last unit.
  const char16_t* GetBuffer() const { return m_text.c_str(); }
  char16_t operator[](size_t i) const { return m_text[i]; }
  char16_t& operator[](size_t i) { return m_text[i]; }

  std::u16string& Str() { return m_text; }
  const std::u16string& Str() const { return m_text; }
  std::u16string_view View() const { return m_text; }
  operator std::u16string_view() const { return m_text; }

  void Empty() { m_text.clear(); }
  CWString& operator+=(const CWString& other) { m_text += other.m_text; return *this; }
  CWString& operator+=(std::u16string_view other) { m_text += other; return *this; }
  CWString& operator+=(char16_t c) { m_text += c; return *this; }
  CWString& operator+=(const char16_t* other) { if (other) m_text += other; return *this; }
  friend CWString operator+(CWString a, const CWString& b) { a += b; return a; }
  friend CWString operator+(CWString a, const char16_t* b) { a += std::u16string_view(b); return a; }
  friend CWString operator+(const char16_t* a, const CWString& b) { CWString r(a); r += b; return r; }
  friend bool operator==(const CWString& a, const CWString& b) { return a.m_text == b.m_text; }
  friend bool operator==(const CWString& a, const char16_t* b) { return a.m_text == b; }
  friend bool operator<(const CWString& a, const CWString& b) { return a.m_text < b.m_text; }

  // Searches. `ignoreCase` folds only the ASCII letters. -1 when not found;
  // an empty pattern is never found.
  int Find(std::u16string_view what, int start = 0, bool ignoreCase = false) const;
  int Find(char16_t c, int start = 0) const;
  // Backward search from index `from`: finds the last occurrence that ends at
  // or before `from` (its last unit at an index <= from). from < 0 means the end.
  int ReverseFind(std::u16string_view what, int from = -1, bool ignoreCase = false) const;
  int ReverseFind(char16_t c, int from = -1) const;
  bool StartsWith(std::u16string_view prefix, bool ignoreCase = false) const;
  bool EndsWith(std::u16string_view suffix, bool ignoreCase = false) const;
  bool Contains(std::u16string_view what, bool ignoreCase = false) const { return Find(what, 0, ignoreCase) >= 0; }

  // Replaces every occurrence, left to right, without overlaps; returns the count.
  int Replace(std::u16string_view from, std::u16string_view to, bool ignoreCase = false);

  CWString Mid(int start, int count = -1) const;
  CWString Left(int count) const { return Mid(0, count); }
  CWString Right(int count) const;

  CWString ToUpperAscii() const;
  CWString ToLowerAscii() const;
  bool EqualsIgnoreAsciiCase(std::u16string_view other) const;

  // Splits at a separator text. `trim` removes code units 0 to 32 at both ends
  // of each piece, `dropEmpty` leaves out empty pieces. An empty text yields no piece.
  std::vector<CWString> Split(std::u16string_view separator, bool trim = false, bool dropEmpty = false) const;
  // Splits at any unit of `set`.
  std::vector<CWString> SplitAny(std::u16string_view set, bool trim = false, bool dropEmpty = false) const;
  // Removes code units 0 to 32 at both ends.
  CWString Trimmed() const;

  long long ToInt() const;  // leading decimal number, as _wtol reads it; 0 when none
  // The same as a 32-bit long holds it: saturating at the int32 limits.
  int32_t ToInt32() const;

 private:
  std::u16string m_text;
  uint32_t m_flags = 0;
};

// ASCII-only case folding of one unit.
inline char16_t QzuAsciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }
inline char16_t QzuAsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

// CU8String: UTF-8 text, used where text crosses into the code edit box.
class CU8String {
 public:
  CU8String() = default;
  CU8String(std::string text) : m_text(std::move(text)) {}
  explicit CU8String(const CWString& text) : m_text(text.ToUtf8()) {}
  CWString ToWString() const { return CWString::FromUtf8(m_text); }
  size_t GetLength() const { return m_text.size(); }
  const char* GetBuffer() const { return m_text.c_str(); }
  std::string& Str() { return m_text; }
  const std::string& Str() const { return m_text; }
  friend bool operator==(const CU8String& a, const CU8String& b) { return a.m_text == b.m_text; }

 private:
  std::string m_text;
};
