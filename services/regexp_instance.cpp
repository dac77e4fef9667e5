#include "services/regexp_instance.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

namespace {

PCRE2_SPTR16 Units(const CWString& text) { return reinterpret_cast<PCRE2_SPTR16>(text.GetBuffer()); }

bool IsLeadSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsTrailSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

CQzuRegExpInstance::~CQzuRegExpInstance() { Invalidate(); }

void CQzuRegExpInstance::Invalidate() {
  if (m_code) pcre2_code_free_16(m_code);
  m_code = nullptr;
  m_compiled = false;
}

void CQzuRegExpInstance::SetIgnoreCase(bool on) {
  if (on != m_ignoreCase) Invalidate();
  m_ignoreCase = on;
}

void CQzuRegExpInstance::SetMultiline(bool on) {
  if (on != m_multiline) Invalidate();
  m_multiline = on;
}

// Global changes how many matches are taken, not the compiled expression.
void CQzuRegExpInstance::SetGlobal(bool on) { m_global = on; }

void CQzuRegExpInstance::SetPattern(const CWString& pattern) {
  if (!(pattern == m_pattern)) Invalidate();
  m_pattern = pattern;
}

bool CQzuRegExpInstance::Compile() {
  if (m_compiled) return m_code != nullptr;
  m_compiled = true;
  // Text typed or pasted by a user may hold lone surrogates: match such
  // subjects instead of refusing them.
  uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF;
  if (m_ignoreCase) options |= PCRE2_CASELESS;
  if (m_multiline) options |= PCRE2_MULTILINE;
  pcre2_compile_context_16* context = pcre2_compile_context_create_16(nullptr);
  if (!context) return false;
  // Lines end at CR LF, CR, LF and the Unicode line breaks alike, so "^" and
  // "$" work on Windows-style text.
  pcre2_set_newline_16(context, PCRE2_NEWLINE_ANY);
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  m_code = pcre2_compile_16(Units(m_pattern), m_pattern.GetLength(), options, &error, &errorOffset, context);
  pcre2_compile_context_free_16(context);
  return m_code != nullptr;
}

int CQzuRegExpInstance::IsValid() { return Compile() ? 1 : 0; }

int CQzuRegExpInstance::Test(const CWString& subject) {
  if (!Compile()) return 0;
  pcre2_match_data_16* data = pcre2_match_data_create_from_pattern_16(m_code, nullptr);
  if (!data) return 0;
  const int rc = pcre2_match_16(m_code, Units(subject), subject.GetLength(), 0, 0, data, nullptr);
  pcre2_match_data_free_16(data);
  return rc >= 0 ? 1 : 0;
}

std::vector<CQzuRegExpMatch> CQzuRegExpInstance::Execute(const CWString& subject) {
  std::vector<CQzuRegExpMatch> matches;
  if (!Compile()) return matches;
  pcre2_match_data_16* data = pcre2_match_data_create_from_pattern_16(m_code, nullptr);
  if (!data) return matches;
  const PCRE2_SPTR16 units = Units(subject);
  const PCRE2_SIZE length = subject.GetLength();
  PCRE2_SIZE start = 0;
  uint32_t options = 0;
  for (;;) {
    const int rc = pcre2_match_16(m_code, units, length, start, options, data, nullptr);
    if (rc < 0) {
      // After an empty match a non-empty one was not found at the same place:
      // step over one character (a CR LF or a surrogate pair counts as one)
      // and search on.
      if (rc != PCRE2_ERROR_NOMATCH || options == 0 || start >= length) break;
      PCRE2_SIZE next = start + 1;
      if (next < length && units[start] == u'\r' && units[next] == u'\n') ++next;
      else if (next < length && IsLeadSurrogate(units[start]) && IsTrailSurrogate(units[next])) ++next;
      start = next;
      options = 0;
      continue;
    }
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer_16(data);
    // A \K inside a lookahead can put the start after the end: take no such match.
    if (ovector[1] < ovector[0]) break;
    CQzuRegExpMatch m;
    m.index = static_cast<int>(ovector[0]);
    m.length = static_cast<int>(ovector[1] - ovector[0]);
    m.value = subject.Mid(m.index, m.length);
    matches.push_back(std::move(m));
    if (!m_global) break;
    start = ovector[1];
    // An empty match: look for a non-empty one at the same place next.
    options = ovector[0] == ovector[1] ? (PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED) : 0;
  }
  pcre2_match_data_free_16(data);
  return matches;
}

CQzuRef<CQzuComInstance> MakeRegExpInstance() {
  return CQzuRef<CQzuComInstance>::Adopt(new CQzuRegExpInstance());
}
