#pragma once
// rg_TavelkinXiangMu: one entry of the drop-down list (components/drop_down_list.h),
// made from one row of its item text (components/drop_down_item_text.h).
//
// `number` is the row's second field: in colour mode the item's colour, a
// COLORREF where -2 stands for the list's custom colour, -1 for white and
// 0xFF000000 for the system button face. `iconIndex` names a picture of the
// list's picture group (-1 or any index outside the group: no icon); `value`
// is the application's, -1 when the row left it empty. A text of "[-]" makes
// the row a separator line. The null flag of the object header marks the
// placeholder the list draws while it has no items; parsed items never carry
// it. The stream form is text, number, icon index, value.
#include <cstdint>
#include <utility>

#include "common/object.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

// The text of a separator row.
inline constexpr char16_t kDropDownSeparatorText[] = u"[-]";
// A colour number standing for the list's custom colour.
inline constexpr int32_t kDropDownCustomColour = -2;

class rg_TavelkinXiangMu : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinXiangMu)
 public:
  // ConstructDropDownItem: empty text, the three numbers 0.
  rg_TavelkinXiangMu() = default;
  rg_TavelkinXiangMu(CWString text, int32_t number, int32_t iconIndex, int32_t value)
      : text(std::move(text)), number(number), iconIndex(iconIndex), value(value) {}

  // Same class, null flag and header word, then the four members.
  bool IsEqual(const CQzuObject& other) const override;
  // Refuses (0) another class; clears, then copies the header and the members.
  int CopyFrom(const CQzuObject& source) override;
  void Clear() override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  bool IsSeparator() const { return !IsNull() && text == kDropDownSeparatorText; }

  CWString text;
  int32_t number = 0;
  int32_t iconIndex = 0;
  int32_t value = 0;
};

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
