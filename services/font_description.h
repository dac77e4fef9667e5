#pragma once
// Font description texts such as "微软雅黑, 11, 0, 0, 0, 0, 0": face, size in
// points, bold, italic, underline, strikeout ("1" or "0") and the text angle
// in tenths of a degree, joined by ", ". Components that change one attribute
// parse the text into rg_TavelkinZiTiLei1, change a field and format it back.
#include <cstdint>

#include "common/object.h"
#include "common/wstring.h"

namespace rg_Tavelkin_MingLingJi {

// 1 when the text, trimmed of units 0 to 32, is "真", "true" or "1" (ASCII
// letters in any case); 0 for anything else.
int TextToBool(const CWString& text);

class rg_TavelkinZiTiLei1 : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinZiTiLei1)
 public:
  // Sets face, size, the four flags and the angle; the extra integer stays.
  void ParseFontText(const CWString& text);
  CWString FormatFontText() const;

  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void Reset() override { *this = rg_TavelkinZiTiLei1(); }
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  CWString face = CWString(u"微软雅黑");
  int32_t size = 11;
  int32_t bold = 0;
  int32_t italic = 0;
  int32_t underline = 0;
  int32_t strikeout = 0;
  int32_t angle = 0;
  int32_t extra = 0;  // copied, compared and streamed; not part of the text
};

}  // namespace rg_Tavelkin_MingLingJi
