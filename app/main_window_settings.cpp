// The main window's controls bound to the settings file: every option, the
// batch buttons' remembered folders and the input text, section by section.
// The sections, keys and their order are the settings file's format; stored
// files rely on them.
#include "app/main_window.h"

#include "components/control_state_binds.h"
#include "services/global_settings.h"

namespace rg_Ombrine_app {

namespace {

using namespace rg_Tavelkin_MingLingJi;

// An empty name: the key the control was first bound under (type word and
// caption or text member).
const CWString kOwnKey;

}  // namespace

void rg_ZhuChuangKouLei::BindSettings(int mode) {
  rg_TavelkinMFCZuJianPeiZhiLei& saver = GlobalSettings();
  saver.SaveMode = mode == kBindSave ? rg_TavelkinMFCZuJianPeiZhiLei::kSaveControls
                                     : rg_TavelkinMFCZuJianPeiZhiLei::kRestoreControls;

  saver.CurrentSection = u"主界面.批量设置";
  BindEditBoxText(saver, FileFilterEdit, u"文件过滤");
  BindDropDownState(saver, InputCharsetList, u"输入编码", kBindDropDownIndex);
  BindDropDownState(saver, OutputCharsetList, u"输出编码", kBindDropDownIndex);
  for (OptionCheck* check :
       {&DeleteOriginalCheck, &SaveToNewLocationCheck, &WalkSubfoldersCheck, &StripBomCheck, &ConvertFileNamesCheck})
    BindCheckedBoxState(saver, *check, kOwnKey);
  // Their text members hold the folders last chosen for a batch.
  BindButtonState(saver, BatchEncodeButton, kOwnKey, kBindButtonText);
  BindButtonState(saver, BatchDecodeButton, kOwnKey, kBindButtonText);

  saver.CurrentSection = u"主界面.转换设置";
  for (int i = 0; i < kConversionFunctionCount; ++i)
    BindButtonState(saver, FunctionToggle(static_cast<ConversionFunction>(i)), kOwnKey, kBindButtonChecked);

  saver.CurrentSection = u"主界面.转换设置.编码包括";
  for (PlainCheck* check : {&AsciiCheck, &LineBreaksCheck, &JoinersCheck}) BindCheckBoxState(saver, *check, kOwnKey);

  saver.CurrentSection = u"主界面.转换设置.txt选项";
  for (Radio* radio : {&HtmlBasicRadio, &HtmlTypesetRadio, &HtmlTypesetImagesRadio, &HtmlTypesetImagesPRadio})
    BindRadioBoxState(saver, *radio, kOwnKey);
  // Stored files keep the extension under this key, not under "文件扩展名".
  BindDropDownState(saver, TxtExtensionList, u"拼音概率", kBindDropDownValue);

  saver.CurrentSection = u"主界面.转换设置.wordtxt选项";
  for (Radio* radio : {&WordBasicRadio, &WordTypesetRadio, &WordTypesetPRadio})
    BindRadioBoxState(saver, *radio, kOwnKey);

  saver.CurrentSection = u"主界面.转换设置.字符格式";
  for (Radio* radio : {&RawRadio, &AnsiRadio, &Utf8Radio, &UnicodeRadio, &UbeRadio})
    BindRadioBoxState(saver, *radio, kOwnKey);

  saver.CurrentSection = u"主界面.转换设置.去重类型";
  for (Radio* radio : {&RemoveDuplicatesRadio, &KeepUniqueRadio, &KeepDuplicatedRadio})
    BindRadioBoxState(saver, *radio, kOwnKey);
  BindEditBoxText(saver, SeparatorEdit, u"分隔符");
  BindEditBoxText(saver, SubSeparatorEdit, u"子分隔符");
  BindEditBoxText(saver, SubIndexEdit, u"子序号");

  saver.CurrentSection = u"主界面.转换设置.拼音选项";
  BindDropDownState(saver, PinyinRatioList, u"拼音概率", kBindDropDownValue);
  for (OptionCheck* check : {&ToneCheck, &CapitalizeCheck, &ReplaceFormatCheck})
    BindCheckedBoxState(saver, *check, kOwnKey);

  saver.CurrentSection = u"主界面";
  BindCodeEditText(saver, InputEditor, u"待转换内容");
  BindButtonState(saver, WrapButton, kOwnKey, kBindButtonChecked);

  if (mode == kBindSave) {
    // Written only when the content changed; a failed write is not reported.
    saver.SaveIniIfChanged();
    return;
  }
  // A file may check no toggle or several: the one the conversions use is
  // the one that shows checked.
  const ConversionFunction chosen = SelectedFunction();
  for (int i = 0; i < kConversionFunctionCount; ++i) {
    const auto function = static_cast<ConversionFunction>(i);
    FunctionToggle(function).SetButtonChecked(function == chosen ? 1 : 0);
  }
  PlaceOptionPanels();
  OnOptionCheckChanged(&ReplaceFormatCheck);
}

}  // namespace rg_Ombrine_app
