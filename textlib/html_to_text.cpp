#include "textlib/html_to_text.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/arrays.h"
#include "textlib/line_reader.h"
#include "textlib/sorted_pair_array.h"
#include "textlib/text_trim.h"

namespace {

using NameSet = std::set<std::u16string>;

std::vector<std::u16string> ListItems(const CWString& list) {
  std::vector<std::u16string> items;
  for (const CWString& item : list.Split(u",", true, true)) items.push_back(item.Str());
  return items;
}

// Removed pieces of one pass, as (start, length) ranges of the current text.
class RangeList {
 public:
  void Add(size_t start, size_t end) {
    m_starts.Add(static_cast<int32_t>(start));
    m_lengths.Add(static_cast<int32_t>(end - start));
  }

  // The text with every range replaced by `replacement`; ranges that overlap
  // or touch get one replacement between them.
  std::u16string Rebuild(std::u16string_view text, std::u16string_view replacement) {
    SortRangePairs(m_starts, m_lengths);
    std::u16string out;
    out.reserve(text.size());
    size_t copy = 0;
    for (size_t i = 0; i < m_starts.size(); ++i) {
      const size_t start = static_cast<size_t>(m_starts[i]);
      const size_t end = start + static_cast<size_t>(m_lengths[i]);
      if (start > copy) out.append(text.substr(copy, start - copy));
      out.append(replacement);
      copy = end;
    }
    if (copy < text.size()) out.append(text.substr(copy));
    m_starts.Empty();
    m_lengths.Empty();
    return out;
  }

 private:
  rg_Ombrine_base::rg_ZhengShuShuZuLei m_starts;
  rg_Ombrine_base::rg_ZhengShuShuZuLei m_lengths;
};

// Each listed element from "<name" to the first "</name>" after it. The
// match is a plain prefix match: "<head" also finds "<header".
void CollectElements(std::u16string_view lower, const std::vector<std::u16string>& names, RangeList& ranges) {
  for (const std::u16string& name : names) {
    const std::u16string open = u"<" + name;
    const std::u16string close = u"</" + name + u">";
    size_t from = 0;
    for (;;) {
      const int64_t s = FindTextUnits(lower, open, from);
      if (s < 0) break;
      const int64_t e = FindTextUnits(lower, close, static_cast<size_t>(s) + open.size());
      if (e < 0) break;
      const size_t end = static_cast<size_t>(e) + close.size();
      ranges.Add(static_cast<size_t>(s), end);
      from = end;
    }
  }
}

// Finds where tags end, allowing "<" inside a tag. Scanning from a tag's "<"
// at s: a ">" closes the tag when no "<" lies between it and the tag's
// current opening, and each ">" that does not close it moves the opening to
// the last "<" before that ">". Worked through, the tag ends at the first ">"
// after s when no "<" lies between them, else at the first later ">" with no
// "<" between it and the ">" before it (a "clean" ">"), else right after the
// first ">" (the fallback end). Whether a ">" is clean does not depend on s,
// and tags are searched left to right, so the search for the next clean ">"
// is remembered: a page full of stray "<" costs one sweep, not one per "<".
class TagEndFinder {
 public:
  explicit TagEndFinder(std::u16string_view text) : m_text(text) {}

  // End (exclusive) of the tag starting at the "<" at s; 0 when no complete
  // tag follows (there is no ">" after s).
  size_t Find(size_t s) {
    const size_t first = m_text.find(u'>', s + 1);
    if (first == std::u16string_view::npos) return 0;
    bool lessThanInside = false;
    for (size_t i = s + 1; i < first && !lessThanInside; ++i) lessThanInside = m_text[i] == u'<';
    if (!lessThanInside) return first + 1;
    const size_t clean = CleanAfter(first);
    return clean == std::u16string_view::npos ? first + 1 : clean + 1;
  }

 private:
  // The first clean ">" after the ">" at g, or npos.
  size_t CleanAfter(size_t g) {
    if (m_known && g >= m_from && (m_clean == std::u16string_view::npos || g < m_clean)) return m_clean;
    m_known = true;
    m_from = g;
    m_clean = std::u16string_view::npos;
    bool lessThanSeen = false;
    for (size_t i = g + 1; i < m_text.size(); ++i) {
      if (m_text[i] == u'<') {
        lessThanSeen = true;
      } else if (m_text[i] == u'>') {
        if (!lessThanSeen) {
          m_clean = i;
          break;
        }
        lessThanSeen = false;
      }
    }
    return m_clean;
  }

  std::u16string_view m_text;
  bool m_known = false;
  size_t m_from = 0;
  size_t m_clean = std::u16string_view::npos;
};

void CollectTags(std::u16string_view lower, const CWString& removeList, const NameSet& removeSet,
                 const NameSet& keepSet, RangeList& ranges) {
  TagEndFinder tagEnd(lower);
  size_t from = 0;
  for (;;) {
    const size_t s = lower.find(u'<', from);
    if (s == std::u16string_view::npos) return;
    const size_t end = tagEnd.Find(s);
    if (end == 0) return;  // the rest holds no complete tag: it stays text
    CWString name(lower.substr(s, end - s));
    ExtractTagName(name);
    bool remove;
    if (!removeList.IsEmpty())
      remove = removeSet.count(name.Str()) != 0;
    else if (!keepSet.empty())
      remove = keepSet.count(name.Str()) == 0;
    else
      remove = true;
    if (remove) ranges.Add(s, end);
    from = end;
  }
}

std::u16string LowerAscii(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& c : lower) c = QzuAsciiLower(c);
  return lower;
}

}  // namespace

void ExtractTagName(CWString& tag) {
  std::u16string t;
  t.reserve(tag.GetLength());
  for (char16_t c : tag.View()) {
    if (c == u'/') continue;
    t += (c == u'\r' || c == u'\n') ? u' ' : c;
  }
  const size_t lt = t.find(u'<');
  const size_t a = lt == std::u16string::npos ? 0 : lt + 1;  // one past the "<" (or -1 + 1)
  size_t b = t.find(u' ');
  if (b == std::u16string::npos) b = t.find(u'>');
  if (b == std::u16string::npos) b = t.size();
  tag = CWString(b > a ? std::u16string_view(t).substr(a, b - a) : std::u16string_view());
}

void FilterHtmlTags(CWString& text, const CWString& removeList, const CWString& keepList,
                    const CWString& elementList, const CWString& replacement) {
  const bool elementPass = !elementList.IsEmpty();
  const bool tagPass = removeList.View() != u"-1";
  if (!elementPass && !tagPass) return;

  // Search in a lower-cased copy whose positions match the text; copy from
  // the text, so that what stays keeps its case.
  std::u16string current = text.Str();
  std::u16string lower = LowerAscii(current);
  RangeList ranges;

  if (elementPass) {
    CollectElements(lower, ListItems(elementList), ranges);
    current = ranges.Rebuild(current, replacement.View());
    lower = LowerAscii(current);
  }
  if (tagPass) {
    NameSet removeSet, keepSet;
    for (std::u16string& item : ListItems(removeList)) removeSet.insert(std::move(item));
    for (std::u16string& item : ListItems(keepList)) keepSet.insert(std::move(item));
    CollectTags(lower, removeList, removeSet, keepSet, ranges);
    current = ranges.Rebuild(current, replacement.View());
  }
  text.Str() = std::move(current);
}

void CleanTextLines(CWString& text, const CWString& prefix, const CWString& suffix) {
  rg_Tavelkin_MingLingJi::rg_TavelkinDouRuYiHangLei reader;
  reader.sourceText.Str() = std::move(text.Str());
  text.Str().clear();
  reader.SetLineSource(CWString());

  std::u16string out;
  out.reserve(reader.sourceText.GetLength() + reader.sourceText.GetLength() / 4);
  CWString line;
  while (reader.HasMoreLines()) {
    reader.ReadNextLine(line);
    TrimBlanks(line, kTrimBothEnds);
    if (line.IsEmpty()) continue;
    if (!out.empty()) out += u"\r\n\r\n";
    out += prefix.View();
    out += u"\u3000\u3000";
    out += line.View();
    out += suffix.View();
  }
  text.Str() = std::move(out);
}
