#include "textlib/line_reader.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// First index at or after `from` holding the unit `c`, or text.size().
size_t FindUnit(const char16_t* text, size_t size, size_t from, char16_t c) {
  size_t i = from;
#if defined(__SSE2__)
  // Eight units per step: line breaks are rare, so most blocks hold none.
  const __m128i needle = _mm_set1_epi16(static_cast<short>(c));
  for (; i + 8 <= size; i += 8) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(block, needle));
    if (mask != 0) return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask))) / 2;
  }
#endif
  for (; i < size; ++i)
    if (text[i] == c) return i;
  return size;
}

}  // namespace

int64_t FindTextUnits(std::u16string_view text, std::u16string_view what, size_t from) {
  if (what.empty() || what.size() > text.size()) return -1;
  const size_t last = text.size() - what.size();  // last index a match can start at
  const char16_t first = what[0];
  if (what.size() == 1) {  // a one-unit separator (a comma, a tab) needs no comparison
    const size_t i = from <= last ? FindUnit(text.data(), last + 1, from, first) : last + 1;
    return i > last ? -1 : static_cast<int64_t>(i);
  }
  for (size_t i = from; i <= last;) {
    i = FindUnit(text.data(), last + 1, i, first);
    if (i > last) return -1;
    if (text.compare(i, what.size(), what) == 0) return static_cast<int64_t>(i);
    ++i;
  }
  return -1;
}

namespace rg_Tavelkin_MingLingJi {

QZU_IMPLEMENT_CLASS(rg_TavelkinDouRuYiHangLei, CQzuObject, "rg_Tavelkin_MingLingJi::rg_TavelkinDouRuYiHangLei")

void rg_TavelkinDouRuYiHangLei::SetLineSource(const CWString& lineBreakText) {
  breakListMode = 0;
  if (!lineBreakText.IsEmpty() && lineBreakText.View() != u"\r\n") {
    lineBreak = lineBreakText;
  } else {
    // One sweep: CR LF can only start at or after the first CR.
    const std::u16string_view text = sourceText.View();
    const size_t firstCr = FindUnit(text.data(), text.size(), 0, u'\r');
    if (firstCr == text.size())
      lineBreak = CWString(u"\n");
    else if (FindTextUnits(text, u"\r\n", firstCr) >= 0)
      lineBreak = CWString(u"\r\n");
    else
      lineBreak = CWString(u"\r");
  }
  breakLength = lineBreak.Length();
  position = 0;
  lastIndex = sourceText.Length() - 1;
}

void rg_TavelkinDouRuYiHangLei::SetLineSource(const CWString& text, const CWString& lineBreakText) {
  sourceText = text;
  SetLineSource(lineBreakText);
}

int32_t rg_TavelkinDouRuYiHangLei::FindLineEnd() {
  const std::u16string_view text = sourceText.View();
  const size_t from = static_cast<size_t>(position);
  if (breakListMode != 0) {
    int64_t best = -1;
    for (const CWString& item : breakList) {
      candidateIndex = static_cast<int32_t>(FindTextUnits(text, item.View(), from));
      if (candidateIndex >= 0 && (best < 0 || candidateIndex < best)) {
        best = candidateIndex;
        breakLength = item.Length();
      }
    }
    return best < 0 ? static_cast<int32_t>(text.size()) : static_cast<int32_t>(best);
  }
  // The break text decides the step, so a length member that disagrees with
  // it (a damaged stream) cannot make the reader stand still.
  breakLength = lineBreak.Length();
  if (breakLength == 1) {
    return static_cast<int32_t>(FindUnit(text.data(), text.size(), from, lineBreak[0]));
  }
  const int64_t found = FindTextUnits(text, lineBreak.View(), from);
  return found < 0 ? static_cast<int32_t>(text.size()) : static_cast<int32_t>(found);
}

std::u16string_view rg_TavelkinDouRuYiHangLei::ReadNextLineView() {
  if (lastIndex < position) return {};
  if (position < 0 || position >= sourceText.Length()) {
    // Members that disagree with the text (set by hand or loaded from a
    // damaged stream): end the reading instead of reading out of bounds.
    lastIndex = sourceText.Length() - 1;
    position = lastIndex + 1;
    return {};
  }
  breakIndex = FindLineEnd();
  const std::u16string_view line = sourceText.View().substr(static_cast<size_t>(position),
                                                            static_cast<size_t>(breakIndex - position));
  position = breakIndex + (breakLength > 0 ? breakLength : 0);
  return line;
}

void rg_TavelkinDouRuYiHangLei::ReadNextLine(CWString& line) {
  const std::u16string_view view = ReadNextLineView();
  line.Str().assign(view.data(), view.size());
}

CWString rg_TavelkinDouRuYiHangLei::ReadNextLine() {
  CWString line;
  ReadNextLine(line);
  return line;
}

bool rg_TavelkinDouRuYiHangLei::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && &other == this;
}

int rg_TavelkinDouRuYiHangLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinDouRuYiHangLei, source)
  position = src.position;
  sourceText = src.sourceText;
  lineBreak = src.lineBreak;
  lastIndex = src.lastIndex;
  breakLength = src.breakLength;
  breakList = src.breakList;
  breakListMode = src.breakListMode;
  breakIndex = src.breakIndex;
  candidateIndex = src.candidateIndex;
  spareText = src.spareText;
  return 1;
}

void rg_TavelkinDouRuYiHangLei::Reset() {
  position = 0;
  sourceText.Empty();
  lineBreak.Empty();
  lastIndex = 0;
  breakLength = 0;
  breakList.Empty();
  breakListMode = 0;
  breakIndex = 0;
  candidateIndex = 0;
  spareText.Empty();
}

void rg_TavelkinDouRuYiHangLei::LoadFromStream(CQzuStream& stream) {
  // Each member is taken only when it was read whole; after a short read
  // every later read returns at once.
  stream.ReadInt32(position);
  stream.ReadText(sourceText);
  stream.ReadText(lineBreak);
  stream.ReadInt32(lastIndex);
  stream.ReadInt32(breakLength);
  breakList.LoadFromStream(stream);
  stream.ReadInt32(breakListMode);
  stream.ReadInt32(breakIndex);
  stream.ReadInt32(candidateIndex);
  stream.ReadText(spareText);
}

void rg_TavelkinDouRuYiHangLei::SaveToStream(CQzuStream& stream) const {
  stream.WriteInt32(position);
  stream.WriteText(sourceText);
  stream.WriteText(lineBreak);
  stream.WriteInt32(lastIndex);
  stream.WriteInt32(breakLength);
  breakList.SaveToStream(stream);
  stream.WriteInt32(breakListMode);
  stream.WriteInt32(breakIndex);
  stream.WriteInt32(candidateIndex);
  stream.WriteText(spareText);
}

}  // namespace rg_Tavelkin_MingLingJi
