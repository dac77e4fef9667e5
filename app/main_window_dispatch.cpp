// The main window's click handlers: the buttons, told apart by identity, and
// the option checks.
#include "app/main_window.h"

namespace rg_Ombrine_app {

intptr_t rg_ZhuChuangKouLei::OnButtonClick(CQzuObject* sender) {
  ConversionFunction clicked;
  if (FunctionOfToggle(sender, clicked)) {
    // Exactly the clicked toggle is checked, also when it was checked before.
    for (int i = 0; i < kConversionFunctionCount; ++i) {
      const auto function = static_cast<ConversionFunction>(i);
      FunctionToggle(function).SetButtonChecked(function == clicked ? 1 : 0);
    }
    UpdateOptionPanels();
  } else if (sender == &BatchEncodeButton || sender == &BatchDecodeButton) {
    RunBatch(rg_Ombrine_base::rg_WenBenShuZuLei(), rg_Ombrine_base::rg_WenBenShuZuLei(),
             *static_cast<Button*>(sender));
  }
  return 0;
}

intptr_t rg_ZhuChuangKouLei::OnOptionCheckChanged(CQzuObject* sender) {
  if (sender == &ReplaceFormatCheck) PinyinFormatEdit.SetEnabled(ReplaceFormatCheck.checked != 0);
  return 0;
}

}  // namespace rg_Ombrine_app
