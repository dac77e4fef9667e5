#include "textlib/text_search.h"

#include <algorithm>
#include <cstring>

namespace {

int Len(const CWString& s) { return s.Length(); }

}  // namespace

CWString TextBetween(const CWString& source, const CWString& startMark, const CWString& endMark, int& position,
                     int reverse, int ignoreCase, rg_Ombrine_base::rg_ZhengShuShuZuLei& found) {
  const bool fold = ignoreCase != 0;
  const int from = std::max(position, 0);
  int s = -1, e = -1;
  if (!reverse) {
    s = startMark.IsEmpty() ? 0 : source.Find(startMark.View(), from, fold);
    if (s >= 0) e = endMark.IsEmpty() ? Len(source) : source.Find(endMark.View(), s + Len(startMark), fold);
  } else {
    e = endMark.IsEmpty() ? Len(source) : source.Find(endMark.View(), from, fold);
    if (e >= 0) {
      if (startMark.IsEmpty()) {
        s = 0;
      } else {
        // Wholly within the first e - 1 characters: its last unit at or before
        // index e - 2, so one character must separate the two marks.
        const int lastUnit = e - 2;
        s = lastUnit < 0 ? -1 : source.ReverseFind(startMark.View(), lastUnit, fold);
      }
      if (s >= 0 && s < position) s = -1;
    }
  }
  if (s < 0 || e < 0) {
    position = kTextBetweenMiss;
    return CWString();
  }
  if (!found.IsNull()) found.Add(s);
  position = e + Len(endMark);
  const int textStart = s + Len(startMark);
  return textStart >= e ? CWString() : source.Mid(textStart, e - textStart);
}

CWString ReplaceAllText(const CWString& text, const CWString& find, const CWString& replacement) {
  CWString out = text;
  if (!find.IsEmpty()) out.Replace(find.View(), replacement.View());
  return out;
}

long long FindBytesFrom(const CQzuMem& buffer, const CQzuMem& pattern, long long start) {
  const size_t n = pattern.GetSize();
  if (start < 0 || n == 0) return -1;
  const size_t limit = std::min(static_cast<size_t>(start), buffer.GetSize());
  if (n > limit) return -1;
  const uint8_t* data = buffer.GetData();
  for (size_t pos = limit - n + 1; pos-- > 0;)
    if (std::memcmp(data + pos, pattern.GetData(), n) == 0) return static_cast<long long>(pos);
  return -1;
}
