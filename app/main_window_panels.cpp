// The main window's function toggles, the option panels each function shows
// and the captions of the four action buttons.
#include "app/main_window.h"

#include "app/action_captions.h"
#include "app/option_panel_rules.h"

namespace rg_Ombrine_app {

namespace {

// The toggles in ConversionFunction order.
constexpr int kFunctionCount = kConversionFunctionCount;

}  // namespace

rg_ZhuChuangKouLei::Button& rg_ZhuChuangKouLei::FunctionToggle(ConversionFunction function) {
  Button* const toggles[kFunctionCount] = {&NoneToggle,        &Ucs2Toggle,       &UnicodeDecimalToggle,
                                           &UnicodeHexToggle,  &UrlToggle,        &UrlUtf8Toggle,
                                           &BytesHexToggle,    &BytesToggle,      &Base64Toggle,
                                           &BreakWinToggle,    &BreakUnixToggle,  &BreakMacToggle,
                                           &TraditionalToggle, &UpperCaseToggle,  &DedupeToggle,
                                           &HtmlToTextToggle,  &WordToTextToggle, &Md5Toggle,
                                           &Sha1Toggle,        &Sha256Toggle,     &PinyinToggle};
  const int index = static_cast<int>(function);
  return index >= 0 && index < kFunctionCount ? *toggles[index] : NoneToggle;
}

bool rg_ZhuChuangKouLei::FunctionOfToggle(const CQzuObject* button, ConversionFunction& function) {
  for (int i = 0; i < kFunctionCount; ++i) {
    const auto candidate = static_cast<ConversionFunction>(i);
    if (&FunctionToggle(candidate) == button) {
      function = candidate;
      return true;
    }
  }
  return false;
}

ConversionFunction rg_ZhuChuangKouLei::SelectedFunction() {
  for (int i = 0; i < kFunctionCount; ++i) {
    const auto function = static_cast<ConversionFunction>(i);
    if (FunctionToggle(function).checked) return function;
  }
  return ConversionFunction::None;
}

rg_ZhuChuangKouLei::Button& rg_ZhuChuangKouLei::SelectedFunctionButton() { return FunctionToggle(SelectedFunction()); }

void rg_ZhuChuangKouLei::UpdateOptionPanels() {
  const OptionPanelStates states = OptionPanelsFor(SelectedFunction());
  TxtPanel.SetVisible(states.txtPanel);
  WordTxtPanel.SetVisible(states.wordTxtPanel);
  FileFilterEdit.SetEnabled(states.fileFilterEnabled);
  DedupPanel.SetVisible(states.dedupPanel);
  CharFormatPanel.SetVisible(states.charFormatPanel);
  EncodeIncludesPanel.SetVisible(states.encodeIncludesPanel);
  JoinersCheck.SetEnabled(states.joinersEnabled);
  PinyinPanel.SetVisible(states.pinyinPanel);
  UpdateActionCaptions(kEncodeSide, kSingleAndBatch);
  UpdateActionCaptions(kDecodeSide, kSingleAndBatch);
}

void rg_ZhuChuangKouLei::UpdateActionCaptions(int side, int which) {
  const ActionCaptions captions = ActionCaptionsOf(SelectedFunction());
  const bool decode = side == kDecodeSide;
  Button& single = decode ? DecodeButton : EncodeButton;
  Button& batch = decode ? BatchDecodeButton : BatchEncodeButton;
  // A button whose work is under way keeps saying so until it ends.
  const bool singleBusy = SingleConversionsRunning[decode ? kDecodeSide : kEncodeSide] > 0;
  const bool batchBusy = m_batch.Active() && m_batch.button == &batch;
  if (which != kBatchOnly && !singleBusy) {
    single.SetButtonText(decode ? captions.decode : captions.encode);
    single.RedrawButton();
  }
  if (which != kSingleOnly && !batchBusy) {
    batch.SetButtonText(decode ? captions.batchDecode : captions.batchEncode);
    batch.RedrawButton();
  }
  if (!decode) return;
  // An encode button whose partner says nothing spans both places.
  EncodeButton.SetWidth(EncodeButtonWidth(EncodeButton.GetLeft(), DecodeButton.GetLeft(), DecodeButton.GetWidth(),
                                          DecodeButton.GetButtonText().IsEmpty()));
  BatchEncodeButton.SetWidth(EncodeButtonWidth(BatchEncodeButton.GetLeft(), BatchDecodeButton.GetLeft(),
                                               BatchDecodeButton.GetWidth(),
                                               BatchDecodeButton.GetButtonText().IsEmpty()));
}

}  // namespace rg_Ombrine_app
