#include "common/wstring.h"

#include <algorithm>
#include <climits>

#include "common/utf.h"

namespace {

inline bool UnitsEqual(char16_t a, char16_t b, bool ignoreCase) {
  return a == b || (ignoreCase && QzuAsciiLower(a) == QzuAsciiLower(b));
}

bool MatchAt(const std::u16string& text, size_t pos, std::u16string_view what, bool ignoreCase) {
  if (!ignoreCase) return text.compare(pos, what.size(), what) == 0;
  for (size_t i = 0; i < what.size(); ++i)
    if (!UnitsEqual(text[pos + i], what[i], true)) return false;
  return true;
}

inline bool IsBlank(char16_t c) { return c <= 32; }

}  // namespace

CWString::CWString(const char16_t* text) {
  if (text) m_text = text;
}

CWString::CWString(const char16_t* text, size_t length) {
  if (text) m_text.assign(text, length);
}

CWString CWString::FromUtf8(std::string_view utf8) { return CWString(qzu::Utf8ToUtf16(utf8)); }

std::string CWString::ToUtf8() const { return qzu::Utf16ToUtf8(m_text); }

CWString CWString::FromSystemPath(std::string_view bytes) { return CWString(qzu::SystemPathToUtf16(bytes)); }

std::string CWString::ToSystemPath() const { return qzu::Utf16ToSystemPath(m_text); }

CWString CWString::FromInt(long long value) {
  std::string s = std::to_string(value);
  return CWString(std::u16string(s.begin(), s.end()));
}

CWString CWString::Null() {
  CWString s;
  s.m_flags = 1;
  return s;
}

int CWString::Find(std::u16string_view what, int start, bool ignoreCase) const {
  if (what.empty() || start < 0) return -1;
  const size_t n = m_text.size();
  if (static_cast<size_t>(start) > n || what.size() > n - static_cast<size_t>(start)) return -1;
  if (!ignoreCase) {
    const size_t pos = m_text.find(what, static_cast<size_t>(start));
    return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
  }
  for (size_t pos = static_cast<size_t>(start); pos + what.size() <= n; ++pos)
    if (MatchAt(m_text, pos, what, true)) return static_cast<int>(pos);
  return -1;
}

int CWString::Find(char16_t c, int start) const {
  if (start < 0) return -1;
  const size_t pos = m_text.find(c, static_cast<size_t>(start));
  return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

int CWString::ReverseFind(std::u16string_view what, int from, bool ignoreCase) const {
  if (what.empty() || what.size() > m_text.size()) return -1;
  long long last = (from < 0) ? static_cast<long long>(m_text.size()) - 1 : from;
  if (last >= static_cast<long long>(m_text.size())) last = static_cast<long long>(m_text.size()) - 1;
  for (long long pos = last - static_cast<long long>(what.size()) + 1; pos >= 0; --pos)
    if (MatchAt(m_text, static_cast<size_t>(pos), what, ignoreCase)) return static_cast<int>(pos);
  return -1;
}

int CWString::ReverseFind(char16_t c, int from) const {
  const char16_t what[1] = {c};
  return ReverseFind(std::u16string_view(what, 1), from, false);
}

bool CWString::StartsWith(std::u16string_view prefix, bool ignoreCase) const {
  return prefix.size() <= m_text.size() && MatchAt(m_text, 0, prefix, ignoreCase);
}

bool CWString::EndsWith(std::u16string_view suffix, bool ignoreCase) const {
  return suffix.size() <= m_text.size() && MatchAt(m_text, m_text.size() - suffix.size(), suffix, ignoreCase);
}

int CWString::Replace(std::u16string_view from, std::u16string_view to, bool ignoreCase) {
  if (from.empty()) return 0;
  int count = 0;
  int pos = Find(from, 0, ignoreCase);
  if (pos < 0) return 0;
  std::u16string out;
  out.reserve(m_text.size());
  size_t done = 0;
  while (pos >= 0) {
    out.append(m_text, done, static_cast<size_t>(pos) - done);
    out.append(to);
    done = static_cast<size_t>(pos) + from.size();
    ++count;
    pos = Find(from, static_cast<int>(done), ignoreCase);
  }
  out.append(m_text, done, std::u16string::npos);
  m_text.swap(out);
  return count;
}

CWString CWString::Mid(int start, int count) const {
  if (start < 0) start = 0;
  if (static_cast<size_t>(start) >= m_text.size() || count == 0) return CWString();
  const size_t n = count < 0 ? std::u16string::npos : static_cast<size_t>(count);
  return CWString(m_text.substr(static_cast<size_t>(start), n));
}

CWString CWString::Right(int count) const {
  if (count <= 0) return CWString();
  if (static_cast<size_t>(count) >= m_text.size()) return *this;
  return CWString(m_text.substr(m_text.size() - static_cast<size_t>(count)));
}

CWString CWString::ToUpperAscii() const {
  std::u16string s = m_text;
  for (auto& c : s) c = QzuAsciiUpper(c);
  return CWString(std::move(s));
}

CWString CWString::ToLowerAscii() const {
  std::u16string s = m_text;
  for (auto& c : s) c = QzuAsciiLower(c);
  return CWString(std::move(s));
}

bool CWString::EqualsIgnoreAsciiCase(std::u16string_view other) const {
  return other.size() == m_text.size() && MatchAt(m_text, 0, other, true);
}

namespace {

void AddPiece(std::vector<CWString>& out, std::u16string_view piece, bool trim, bool dropEmpty) {
  if (trim) {
    size_t b = 0, e = piece.size();
    while (b < e && IsBlank(piece[b])) ++b;
    while (e > b && IsBlank(piece[e - 1])) --e;
    piece = piece.substr(b, e - b);
  }
  if (dropEmpty && piece.empty()) return;
  out.emplace_back(piece);
}

}  // namespace

std::vector<CWString> CWString::Split(std::u16string_view separator, bool trim, bool dropEmpty) const {
  std::vector<CWString> out;
  if (m_text.empty()) return out;
  const std::u16string_view all(m_text);
  if (separator.empty()) {
    AddPiece(out, all, trim, dropEmpty);
    return out;
  }
  size_t start = 0;
  for (;;) {
    const size_t pos = all.find(separator, start);
    if (pos == std::u16string_view::npos) {
      AddPiece(out, all.substr(start), trim, dropEmpty);
      break;
    }
    AddPiece(out, all.substr(start, pos - start), trim, dropEmpty);
    start = pos + separator.size();
  }
  return out;
}

std::vector<CWString> CWString::SplitAny(std::u16string_view set, bool trim, bool dropEmpty) const {
  std::vector<CWString> out;
  if (m_text.empty()) return out;
  const std::u16string_view all(m_text);
  size_t start = 0;
  for (;;) {
    const size_t pos = set.empty() ? std::u16string_view::npos : all.find_first_of(set, start);
    if (pos == std::u16string_view::npos) {
      AddPiece(out, all.substr(start), trim, dropEmpty);
      break;
    }
    AddPiece(out, all.substr(start, pos - start), trim, dropEmpty);
    start = pos + 1;
  }
  return out;
}

CWString CWString::Trimmed() const {
  size_t b = 0, e = m_text.size();
  while (b < e && IsBlank(m_text[b])) ++b;
  while (e > b && IsBlank(m_text[e - 1])) --e;
  return CWString(m_text.substr(b, e - b));
}

long long CWString::ToInt() const {
  size_t i = 0;
  const size_t n = m_text.size();
  while (i < n && (m_text[i] == u' ' || (m_text[i] >= 9 && m_text[i] <= 13))) ++i;
  bool negative = false;
  if (i < n && (m_text[i] == u'-' || m_text[i] == u'+')) negative = m_text[i++] == u'-';
  long long value = 0;
  for (; i < n && m_text[i] >= u'0' && m_text[i] <= u'9'; ++i) {
    const int d = m_text[i] - u'0';
    if (value > (LLONG_MAX - d) / 10) return negative ? LLONG_MIN : LLONG_MAX;
    value = value * 10 + d;
  }
  return negative ? -value : value;
}

int32_t CWString::ToInt32() const {
  const long long v = ToInt();
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}
