#pragma once
// The framework's plain push button (QPushButton); OnClick on a click.
#include "framework/win_control.h"

namespace rg_Ombrine_MFCJieMian_base {

class rg_button : public CQzuWinControl {
  QZU_DECLARE_CLASS(rg_button)

 public:
  rg_button();
  int CopyFrom(const CQzuObject& source) override;
  // Presses the button as a click would (BM_CLICK).
  void Click();

  CQzuEventSlot<> OnClick;

 protected:
  QWidget* CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) override;
  void ApplyCaption(const CWString& caption) override;
  CWString ReadCaption() const override;
};

}  // namespace rg_Ombrine_MFCJieMian_base
