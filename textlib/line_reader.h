#pragma once
// The line reader: hands out the lines of one UTF-16 text one at a time,
// split at one line-break text (given, or detected in the text: CR LF when the
// text holds any, else CR when it holds any, else LF). A text that ends in a
// line break gives no empty last line; an empty text gives no line at all.
// Callers loop while HasMoreLines() (position <= last index).
#include <cstdint>
#include <string_view>

#include "common/arrays.h"
#include "common/object.h"

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinDouRuYiHangLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinDouRuYiHangLei)
 public:
  rg_TavelkinDouRuYiHangLei() = default;

  // Chooses the line break for the source text already assigned, and rewinds.
  // The empty text and exactly "\r\n" both mean: detect it in the text.
  void SetLineSource(const CWString& lineBreakText);
  // The same, taking the text to read as well.
  void SetLineSource(const CWString& text, const CWString& lineBreakText);

  // The next line without its line break; the empty text, with nothing
  // changed, once every line has been read.
  void ReadNextLine(CWString& line);
  CWString ReadNextLine();
  // The next line as a view into the source text, valid while the source
  // text is not changed; for callers that must not copy every line.
  std::u16string_view ReadNextLineView();

  bool HasMoreLines() const { return position <= lastIndex; }

  // The break list is compared by identity, so a reader equals only itself.
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void Reset() override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // Declaration order is the order of the stream form.
  int32_t position = 0;        // first unit of the next line
  CWString sourceText;         // the text being read
  CWString lineBreak;          // the line break in use
  int32_t lastIndex = 0;       // length of the source text - 1
  int32_t breakLength = 0;     // units of the line break
  rg_Ombrine_base::rg_WenBenShuZuLei breakList;  // alternatives for the break-list mode
  int32_t breakListMode = 0;   // 1: a line ends at the earliest item of breakList
  int32_t breakIndex = 0;      // where the current line ended
  int32_t candidateIndex = 0;  // scratch of the break-list search
  CWString spareText;          // carried along, not read

 private:
  // End of the line that starts at `position` (the text length when no break follows).
  int32_t FindLineEnd();
};

}  // namespace rg_Tavelkin_MingLingJi

// Index of the first occurrence of `what` in `text` at or after `from`, or -1.
// Exact code-unit comparison; an empty pattern is never found. Shared by the
// line reader and the de-duplication, which scan large texts with it.
int64_t FindTextUnits(std::u16string_view text, std::u16string_view what, size_t from);
