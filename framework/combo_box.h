#pragma once
// The framework's combo box (QComboBox): editable (the style kCbsDropDown)
// or list-only (kCbsDropDownList, the default). Items are kept before the
// window exists.
#include "framework/win_control.h"

namespace rg_Ombrine_MFCJieMian_base {

constexpr uint32_t kCbsDropDown = 0x2;
constexpr uint32_t kCbsDropDownList = 0x3;

class rg_combo_box : public CQzuWinControl {
  QZU_DECLARE_CLASS(rg_combo_box)

 public:
  rg_combo_box();
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  bool IsEditable() const { return (m_style & 0x3) == kCbsDropDown; }
  int AddItem(const CWString& text);
  void ResetContent();
  int GetCount() const { return m_items.GetCount(); }
  CWString GetItemText(int index) const;
  // -1 selects nothing.
  void SetCurSel(int index);
  int GetCurSel() const;
  // The edit field's text (editable) or the selected item's text.
  CWString GetText() const { return ReadCaption(); }
  void SetText(const CWString& text) { SetCaption(text); }

  CQzuEventSlot<> OnSelChange;    // the user picked an item
  CQzuEventSlot<> OnTextChanged;  // the edit field changed (editable only)

 protected:
  QWidget* CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) override;
  std::vector<QObject*> WatchedParts(QWidget* widget) override;
  void AfterCreate(const CQzuCreateParams& params) override;
  void ApplyCaption(const CWString& caption) override;
  CWString ReadCaption() const override;

  CMStringArray m_items;
  int32_t m_curSel = -1;
};

}  // namespace rg_Ombrine_MFCJieMian_base
