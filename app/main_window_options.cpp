// The main window's controls read into the record of options that every call
// of the conversion core receives.
#include "app/main_window.h"

#include <initializer_list>
#include <utility>

namespace rg_Ombrine_app {

namespace {

// The value of the checked radio of a group; `fallback` when none is checked
// (a settings file may store every radio of a group as unchecked).
template <class Value>
Value CheckedRadio(std::initializer_list<std::pair<const rg_ZhuChuangKouLei::Radio*, Value>> group, Value fallback) {
  for (const auto& [radio, value] : group)
    if (radio->GetChecked()) return value;
  return fallback;
}

}  // namespace

ConversionOptions rg_ZhuChuangKouLei::FillConversionOptions() {
  ConversionOptions o;
  o.function = SelectedFunction();
  o.direction = Direction == 1 ? ConversionDirection::Decode : ConversionDirection::Encode;
  // -1 when nothing is selected: the core reads it as 自动识别.
  o.inputCharsetIndex = InputCharsetList.GetDropDownIndex();
  o.outputCharsetIndex = OutputCharsetList.GetDropDownIndex();
  // The fallbacks are the radios a first start checks.
  o.charFormat = CheckedRadio<CharFormat>({{&RawRadio, CharFormat::Raw},
                                           {&AnsiRadio, CharFormat::Ansi},
                                           {&Utf8Radio, CharFormat::Utf8},
                                           {&UnicodeRadio, CharFormat::Unicode},
                                           {&UbeRadio, CharFormat::UnicodeBe}},
                                          CharFormat::Raw);
  o.escapeAscii = AsciiCheck.GetChecked();
  o.escapeLineBreaks = LineBreaksCheck.GetChecked();
  o.escapeJoiners = JoinersCheck.GetChecked();
  o.htmlLayout = CheckedRadio<HtmlLayout>({{&HtmlBasicRadio, HtmlLayout::Basic},
                                           {&HtmlTypesetRadio, HtmlLayout::Typeset},
                                           {&HtmlTypesetImagesRadio, HtmlLayout::TypesetImages},
                                           {&HtmlTypesetImagesPRadio, HtmlLayout::TypesetImagesP}},
                                          HtmlLayout::Basic);
  o.htmlExtension = TxtExtensionList.GetDropDownValue();
  o.wordLayout = CheckedRadio<WordLayout>({{&WordBasicRadio, WordLayout::Basic},
                                           {&WordTypesetRadio, WordLayout::Typeset},
                                           {&WordTypesetPRadio, WordLayout::TypesetP}},
                                          WordLayout::Basic);
  o.dedupMode = CheckedRadio<DedupMode>({{&RemoveDuplicatesRadio, DedupMode::RemoveDuplicates},
                                         {&KeepUniqueRadio, DedupMode::KeepUnique},
                                         {&KeepDuplicatedRadio, DedupMode::KeepDuplicated}},
                                        DedupMode::RemoveDuplicates);
  o.dedupSeparator = SeparatorEdit.GetText();
  o.dedupSubSeparator = SubSeparatorEdit.GetText();
  o.dedupSubIndex = SubIndexEdit.GetText();
  o.pinyinCapitalize = CapitalizeCheck.checked != 0;
  o.pinyinTone = ToneCheck.checked != 0;
  o.pinyinReplaceFormat = ReplaceFormatCheck.checked != 0;
  o.pinyinFormat = PinyinFormatEdit.GetText();
  o.pinyinPercent = PinyinRatioList.GetDropDownValue();
  o.fileFilter = FileFilterEdit.GetText();
  o.walkSubfolders = WalkSubfoldersCheck.checked != 0;
  o.stripBom = StripBomCheck.checked != 0;
  o.deleteOriginal = DeleteOriginalCheck.checked != 0;
  o.saveToNewLocation = SaveToNewLocationCheck.checked != 0;
  o.convertFileNames = ConvertFileNamesCheck.checked != 0;
  return o;
}

}  // namespace rg_Ombrine_app
