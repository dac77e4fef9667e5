#pragma once
// The framework's plain check box (QCheckBox) and radio box (QRadioButton).
// Radio boxes with the same parent form one group: checking one unchecks
// the others. The check state is kept before the window exists (BM_SETCHECK).
#include "framework/win_control.h"

namespace rg_Ombrine_MFCJieMian_base {

class CQzuCheckableControl : public CQzuWinControl {
  QZU_DECLARE_CLASS(CQzuCheckableControl)

 public:
  CQzuCheckableControl();
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // BM_SETCHECK / BM_GETCHECK; raises no event.
  void SetChecked(bool checked);
  bool GetChecked() const;

  // Raised on a click by the user, after the state changed.
  CQzuEventSlot<> OnClick;

  // BM_GETCHECK (0xF0), BM_SETCHECK (0xF1, wParam 0 or 1) and BM_CLICK
  // (0xF5) by number, for callers written with the messages.
  intptr_t HandleMessage(int message, intptr_t wParam, intptr_t lParam) override;

 protected:
  void AfterCreate(const CQzuCreateParams& params) override;
  void ApplyCaption(const CWString& caption) override;
  CWString ReadCaption() const override;
  void WireClicks(QWidget* button);

  int32_t m_checked = 0;
};

class rg_check_box : public CQzuCheckableControl {
  QZU_DECLARE_CLASS(rg_check_box)

 public:
  int CopyFrom(const CQzuObject& source) override;

 protected:
  QWidget* CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) override;
};

class rg_radio_box : public CQzuCheckableControl {
  QZU_DECLARE_CLASS(rg_radio_box)

 public:
  int CopyFrom(const CQzuObject& source) override;

 protected:
  QWidget* CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) override;
};

}  // namespace rg_Ombrine_MFCJieMian_base
