// The main window's controls: every control with its caption, looks,
// position, id, initial state and handler, made in declaration order. All
// positions are logical pixels, each number scaled on its own.
#include "app/main_window.h"

#include <tuple>

#include "common/dpi.h"

namespace rg_Ombrine_app {

namespace {

using rg_TavelkinMingLingJi_ChuangKouZuJian::kColourOfNormalState;
using rg_TavelkinMingLingJi_ChuangKouZuJian::kDropDownEditable;
using rg_TavelkinMingLingJi_ChuangKouZuJian::kDropDownListOnly;

constexpr char16_t kFont11[] = u"微软雅黑, 11, 0, 0, 0, 0, 0";
constexpr char16_t kBoldFont11[] = u"微软雅黑, 11, 1, 0, 0, 0, 0";
constexpr char16_t kFont13[] = u"微软雅黑, 13, 0, 0, 0, 0, 0";
constexpr char16_t kFont17[] = u"微软雅黑, 17, 0, 0, 0, 0, 0";
constexpr char16_t kFont20[] = u"微软雅黑, 20, 0, 0, 0, 0, 0";
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kNoteColour = 0xFF8800;    // the de-duplication panel's small labels
constexpr COLORREF kMarkerColour = 0x0000FF;  // the headings

// The built-in SVG images of the buttons.
constexpr int32_t kActionImage = 500;
constexpr int32_t kBatchImage = 501;
constexpr int32_t kPasteImage = 503;
constexpr int32_t kCopyImage = 504;

// SCI_SETWRAPMODE with SC_WRAP_CHAR.
constexpr unsigned kSciSetWrapMode = 2268;
constexpr int kWrapAtCharacters = 2;

constexpr char16_t kPinyinRatioItems[] = u"5%\r\n10%\r\n30%\r\n50%\r\n70%\r\n90%\r\n100%";
constexpr char16_t kTxtExtensionItems[] = u"自动\r\nhtml\r\ntxt";
// Item text and value alternate; every value is 0, the position is what counts.
constexpr char16_t kCharsetItems[] = u"自动识别\n0\nANSI\n0\nUTF-8\n0\nUnicode\n0\nUnicode BE\n0";
constexpr char16_t kSampleInput[] = u"中國ABC123\r\n\r\n\r\n\r\n华夏ABC123\r\n\r\n中國ABC123\r\n";

int S(int value) { return ScaleByDpiFactor(value); }

void CreateAt(CQzuWinControl& control, CQzuWinControl* parent, int x, int y, int width, int height, int id,
              const CWString& caption = CWString()) {
  control.Create(parent, S(x), S(y), S(width), S(height), id, caption);
}

void PlainLook(CQzuWinControl& control) {
  control.SetBackColour(kWhite);
  control.SetFontText(kFont11);
}

void PanelLook(CQzuWinControl& panel, bool visible) {
  panel.SetBackColour(kWhite);
  panel.SetVisible(visible);
}

void LabelLook(CQzuWinControl& label) {
  label.SetBackColour(kWhite);
  label.SetFontText(kBoldFont11);
}

// The pinyin checks: white on white in every state.
void OptionCheckLook(rg_ZhuChuangKouLei::OptionCheck& check) {
  check.backColours = {kWhite, kWhite, kWhite, kWhite};
  check.borderColours = {kWhite, kWhite, kWhite, kWhite};
}

void HeadingLook(rg_ZhuChuangKouLei::HeadingLabel& label) {
  label.Canvas().SetFontText(kFont17);
  label.ownFont = 1;
  label.markerColour = kMarkerColour;
}

void MakeEdit(rg_ZhuChuangKouLei::Edit& edit, CQzuWinControl* parent, int x, int y, int width, int height, int id,
              const char16_t* text, const char16_t* toolTip = nullptr, const char16_t* cue = nullptr) {
  edit.SetFontText(kFont11);
  if (toolTip) edit.SetToolTip(toolTip);
  CreateAt(edit, parent, x, y, width, height, id, text);
  if (cue) edit.SetCueBanner(cue);
}

}  // namespace

void rg_ZhuChuangKouLei::BuildMainWindowUi() {
  OnSize.Connect(&MainWindowResizeCallback, MainWindowEvents);
  AttachListener();
  OnCloseQuery.Connect(&MainWindowCloseCallback, MainWindowEvents);
  AttachListener();
  OnCreated.Connect(&MainWindowCreatedCallback, MainWindowEvents);
  AttachListener();
  OnFirstActivation.Connect(&MainWindowShownCallback, MainWindowEvents);
  AttachListener();
  SetBackColour(kWhite);

  BuildPinyinPanel();
  EncodeButton.BindButtonClickHandler(&ButtonClickCallback, MainWindowEvents);
  EncodeButton.gap = 10;
  EncodeButton.SetButtonText(u"编码");
  CreateAt(EncodeButton, this, 10, 183, 557, 50, 107);
  EncodeButton.SetButtonFont(kFont20);
  EncodeButton.SetButtonSvgResource(kActionImage);

  BuildWordAndEncodePanels();
  BuildFunctionToggles();
  BuildDedupPanel();
  BuildLastToggles();
  BuildCharFormatPanel();
  BuildBatchGroup();
  BuildEditors();

  CreateAt(BannerStrip, this, 0, 0, 1239, 91, 185);
  BannerStrip.SetBannerHomeLink(rg_Tavelkin_GongNengChuangKou::kBannerHomeAddress);

  // Of two overlapping siblings the one made first shows, as the layout
  // expects: the widened encode buttons over their silent partners, the
  // edits over the labels beside them, the option panels over the banner.
  // Qt puts the last one made on top, so the order is turned round.
  const std::vector<CQzuWinControl*> controls = ControlMembers();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it)
    if ((*it)->HasWindow()) (*it)->GetWidget()->raise();
}

void rg_ZhuChuangKouLei::BuildPinyinPanel() {
  PanelLook(PinyinPanel, false);
  CreateAt(PinyinPanel, this, 728, 397, 424, 64, 101);
  MakeEdit(PinyinFormatEdit, &PinyinPanel, 95, 34, 288, 26, 102, u"汉字[拼音]");

  struct {
    OptionCheck& check;
    const char16_t* caption;
    int x, y, width, id;
    bool checked;
  } checks[] = {{CapitalizeCheck, u"首字母大写", 282, 0, 109, 103, true},
                {ToneCheck, u"带音调", 188, 0, 83, 105, false},
                {ReplaceFormatCheck, u"替换格式", 4, 34, 109, 106, false}};
  for (auto& c : checks) {
    // The ratio list comes between the first two checks.
    if (&c.check == &ToneCheck) {
      PinyinRatioList.style = kDropDownEditable;
      PinyinRatioList.SetDropDownTitle(u"拼音概率");
      CreateAt(PinyinRatioList, &PinyinPanel, 4, 0, 152, 29, 104);
      PinyinRatioList.SetDropDownItemsText(kPinyinRatioItems);
      PinyinRatioList.SelectDropDownItem(0);
    }
    c.check.BindButtonClickHandler(&OptionCheckChangedCallback, MainWindowEvents);
    OptionCheckLook(c.check);
    c.check.SetButtonText(c.caption);
    CreateAt(c.check, &PinyinPanel, c.x, c.y, c.width, 26, c.id);
    c.check.SetButtonChecked(c.checked ? 1 : 0);
    c.check.SetButtonFont(kFont11);
  }
}

void rg_ZhuChuangKouLei::BuildWordAndEncodePanels() {
  PanelLook(WordTxtPanel, false);
  CreateAt(WordTxtPanel, this, 394, 384, 424, 28, 108);
  PlainLook(WordTypesetRadio);
  CreateAt(WordTypesetRadio, &WordTxtPanel, 153, 0, 57, 28, 109, u"排版");
  LabelLook(WordTxtLabel);
  CreateAt(WordTxtLabel, &WordTxtPanel, 5, 0, 83, 28, 110, u"txt 选项：");
  PlainLook(WordTypesetPRadio);
  CreateAt(WordTypesetPRadio, &WordTxtPanel, 218, 0, 146, 28, 111, u"排版加<P>");
  PlainLook(WordBasicRadio);
  CreateAt(WordBasicRadio, &WordTxtPanel, 93, 0, 64, 28, 112, u"基本");
  WordBasicRadio.SetChecked(true);
  WordTypesetRadio.SetChecked(false);

  PanelLook(EncodeIncludesPanel, true);
  CreateAt(EncodeIncludesPanel, this, 394, 352, 424, 28, 113);
  PlainLook(LineBreaksCheck);
  CreateAt(LineBreaksCheck, &EncodeIncludesPanel, 205, 0, 64, 28, 114, u"换行");
  LineBreaksCheck.SetChecked(true);
  LabelLook(EncodeIncludesLabel);
  CreateAt(EncodeIncludesLabel, &EncodeIncludesPanel, 5, 0, 88, 28, 115, u"编码包括：");
  PlainLook(AsciiCheck);
  CreateAt(AsciiCheck, &EncodeIncludesPanel, 97, 0, 112, 28, 116, u"ASCII字符");
  AsciiCheck.SetChecked(false);
  PlainLook(JoinersCheck);
  CreateAt(JoinersCheck, &EncodeIncludesPanel, 274, 0, 88, 28, 117, u"连接符");
  JoinersCheck.SetChecked(true);

  PanelLook(TxtPanel, false);
  CreateAt(TxtPanel, this, 394, 288, 435, 54, 118);
  PlainLook(HtmlTypesetImagesRadio);
  CreateAt(HtmlTypesetImagesRadio, &TxtPanel, 210, 0, 90, 26, 119, u"带图排版");
  PlainLook(HtmlTypesetRadio);
  CreateAt(HtmlTypesetRadio, &TxtPanel, 153, 0, 57, 26, 120, u"排版");
  LabelLook(HtmlTxtLabel);
  CreateAt(HtmlTxtLabel, &TxtPanel, 5, 0, 83, 26, 121, u"txt 选项：");
  PlainLook(HtmlTypesetImagesPRadio);
  CreateAt(HtmlTypesetImagesPRadio, &TxtPanel, 301, 0, 134, 26, 122, u"带图排版加<P>");
  PlainLook(HtmlBasicRadio);
  CreateAt(HtmlBasicRadio, &TxtPanel, 93, 0, 64, 26, 123, u"基本");
  HtmlBasicRadio.SetChecked(true);
  HtmlTypesetRadio.SetChecked(false);
  TxtExtensionList.style = kDropDownEditable;
  TxtExtensionList.SetDropDownTitle(u"文件扩展名");
  CreateAt(TxtExtensionList, &TxtPanel, 93, 27, 322, 26, 124);
  TxtExtensionList.SetDropDownItemsText(kTxtExtensionItems);
  TxtExtensionList.SelectDropDownItem(2);
}

void rg_ZhuChuangKouLei::MakeFunctionToggle(Button& toggle, int x, int y, int width, int id) {
  ConversionFunction function = ConversionFunction::None;
  FunctionOfToggle(&toggle, function);
  toggle.BindButtonClickHandler(&ButtonClickCallback, MainWindowEvents);
  toggle.checkMode = 1;
  toggle.backColours = {0xF4EFEA, 0xFFFFFF, 0xFFFFFF, kColourOfNormalState};
  toggle.borderColours = {0xFFC1C1, 0x9F40FF, 0xC080FF, kColourOfNormalState};
  toggle.SetButtonText(FunctionCaption(function));
  CreateAt(toggle, this, x, y, width, 32, id);
  toggle.SetButtonChecked(function == ConversionFunction::None ? 1 : 0);
  toggle.SetButtonFont(kFont13);
}

void rg_ZhuChuangKouLei::BuildFunctionToggles() {
  MakeFunctionToggle(BreakWinToggle, 10, 141, 109, 125);
  DecodeButton.BindButtonClickHandler(&ButtonClickCallback, MainWindowEvents);
  DecodeButton.gap = 10;
  DecodeButton.SetButtonText(u"解码");
  CreateAt(DecodeButton, this, 633, 183, 549, 50, 126);
  DecodeButton.SetButtonFont(kFont20);
  DecodeButton.SetButtonSvgResource(kActionImage);

  MakeFunctionToggle(WordToTextToggle, 614, 141, 120, 127);
  MakeFunctionToggle(Ucs2Toggle, 98, 101, 80, 128);
  MakeFunctionToggle(UnicodeDecimalToggle, 186, 101, 142, 129);
  MakeFunctionToggle(UrlToggle, 510, 101, 64, 130);
  MakeFunctionToggle(Base64Toggle, 954, 101, 80, 131);
  MakeFunctionToggle(UnicodeHexToggle, 337, 101, 166, 132);
  MakeFunctionToggle(UpperCaseToggle, 1117, 101, 64, 133);
  MakeFunctionToggle(TraditionalToggle, 1042, 101, 64, 134);
  MakeFunctionToggle(BytesToggle, 695, 101, 80, 135);
  MakeFunctionToggle(BytesHexToggle, 783, 101, 163, 136);
  MakeFunctionToggle(BreakUnixToggle, 128, 141, 109, 137);
  MakeFunctionToggle(BreakMacToggle, 246, 141, 109, 138);
  MakeFunctionToggle(HtmlToTextToggle, 485, 141, 120, 139);
  MakeFunctionToggle(DedupeToggle, 365, 141, 111, 140);
}

void rg_ZhuChuangKouLei::BuildLastToggles() {
  MakeFunctionToggle(UrlUtf8Toggle, 583, 101, 104, 152);
  MakeFunctionToggle(Md5Toggle, 744, 141, 96, 153);
  MakeFunctionToggle(Sha1Toggle, 850, 141, 96, 154);
  MakeFunctionToggle(PinyinToggle, 1074, 141, 106, 155);
  MakeFunctionToggle(Sha256Toggle, 955, 141, 110, 156);
  MakeFunctionToggle(NoneToggle, 10, 101, 80, 157);
}

void rg_ZhuChuangKouLei::BuildDedupPanel() {
  PanelLook(DedupPanel, false);
  CreateAt(DedupPanel, this, 394, 467, 424, 64, 141);
  MakeEdit(SubIndexEdit, &DedupPanel, 353, 30, 33, 26, 142, u"1",
           u"设置子文本分隔符时，用于指定哪个子文本去重，从1开始");
  MakeEdit(SeparatorEdit, &DedupPanel, 62, 30, 79, 26, 143, u"",
           u"留空默认为换行分隔，也就是将文本分成一行行来去重。你也可以输入逗号、句号之类分隔符", u"默认换行");
  PlainLook(RemoveDuplicatesRadio);
  CreateAt(RemoveDuplicatesRadio, &DedupPanel, 93, 0, 84, 28, 144, u"删除重复");
  RemoveDuplicatesRadio.SetChecked(true);
  LabelLook(SeparatorLabel);
  SeparatorLabel.SetTextColour(kNoteColour);
  CreateAt(SeparatorLabel, &DedupPanel, 4, 30, 83, 26, 145, u"分隔符");
  PlainLook(KeepDuplicatedRadio);
  CreateAt(KeepDuplicatedRadio, &DedupPanel, 311, 0, 85, 28, 146, u"提取重复");
  KeepDuplicatedRadio.SetChecked(false);
  PlainLook(KeepUniqueRadio);
  CreateAt(KeepUniqueRadio, &DedupPanel, 189, 0, 124, 28, 147, u"提取没有重复");
  KeepUniqueRadio.SetChecked(false);
  MakeEdit(SubSeparatorEdit, &DedupPanel, 233, 30, 42, 26, 148, u"",
           u"设置子文本分隔符时，将对子文本进行去重。留空默认为不对子文本去重", u"无");
  LabelLook(SubSeparatorLabel);
  SubSeparatorLabel.SetTextColour(kNoteColour);
  CreateAt(SubSeparatorLabel, &DedupPanel, 160, 30, 83, 26, 149, u"子分隔符");
  LabelLook(SubIndexLabel);
  SubIndexLabel.SetTextColour(kNoteColour);
  CreateAt(SubIndexLabel, &DedupPanel, 293, 30, 64, 26, 150, u"子序号");
  LabelLook(DedupModeLabel);
  CreateAt(DedupModeLabel, &DedupPanel, 4, 0, 83, 28, 151, u"去重类型：");
}

void rg_ZhuChuangKouLei::BuildCharFormatPanel() {
  PanelLook(CharFormatPanel, false);
  CreateAt(CharFormatPanel, this, 394, 544, 424, 28, 158);
  struct {
    Radio& radio;
    const char16_t* caption;
    int x, width, id;
  } radios[] = {
      {UbeRadio, u"Ube", 361, 48, 159}, {UnicodeRadio, u"Unicode", 279, 78, 160}, {RawRadio, u"原始", 93, 58, 161}};
  for (auto& r : radios) {
    PlainLook(r.radio);
    CreateAt(r.radio, &CharFormatPanel, r.x, 0, r.width, 28, r.id, r.caption);
  }
  RawRadio.SetChecked(true);
  UbeRadio.SetChecked(false);
  LabelLook(CharFormatLabel);
  CreateAt(CharFormatLabel, &CharFormatPanel, 5, 0, 83, 28, 162, u"字符格式：");
  PlainLook(Utf8Radio);
  CreateAt(Utf8Radio, &CharFormatPanel, 212, 0, 69, 28, 163, u"UTF-8");
  PlainLook(AnsiRadio);
  CreateAt(AnsiRadio, &CharFormatPanel, 152, 0, 64, 28, 164, u"ANSI");
}

void rg_ZhuChuangKouLei::BuildBatchGroup() {
  HeadingLook(BatchGroup);
  BatchGroup.BindLabelEventHandler(&HtmlPreviewCallback, MainWindowEvents);
  CreateAt(BatchGroup, this, 9, 602, 1198, 122, 165);  // the layout widens it with the window
  BatchGroup.SetLabelText(u"批量转换");

  auto makeBatchButton = [this](Button& button, const char16_t* caption, int x, int id) {
    button.BindButtonClickHandler(&ButtonClickCallback, MainWindowEvents);
    button.SetButtonText(caption);
    CreateAt(button, &BatchGroup, x, 46, 218, 60, id);
    button.SetButtonFont(kFont20);
    button.SetButtonSvgResource(kBatchImage);
  };
  makeBatchButton(BatchEncodeButton, u"批量编码", 726, 166);
  MakeEdit(FileFilterEdit, &BatchGroup, 548, 79, 151, 26, 167, u"*.htm|*.html|*.txt", u"文件过滤");

  struct {
    OptionCheck& check;
    const char16_t* caption;
    int x, y, width, id;
    bool checked;
  } checks[] = {{ConvertFileNamesCheck, u"转换文件名", 548, 46, 160, 168, false},
                {DeleteOriginalCheck, u"删除原文件", 413, 46, 152, 169, false},
                {SaveToNewLocationCheck, u"新位置保存", 413, 79, 152, 170, true},
                {StripBomCheck, u"去除 BOM", 277, 79, 152, 171, false},
                {WalkSubfoldersCheck, u"遍历子目录", 277, 46, 152, 172, false}};
  for (auto& c : checks) {
    c.check.BindButtonClickHandler(&OptionCheckChangedCallback, MainWindowEvents);
    // The check box's own colours are its parent's: the group is white.
    c.check.parentColour = kWhite;
    c.check.SetButtonText(c.caption);
    CreateAt(c.check, &BatchGroup, c.x, c.y, c.width, 26, c.id);
    c.check.SetButtonChecked(c.checked ? 1 : 0);
    c.check.SetButtonFont(kFont11);
  }

  for (auto [list, title, y, id] :
       {std::tuple{&InputCharsetList, u"输入编码", 46, 173}, std::tuple{&OutputCharsetList, u"输出编码", 79, 174}}) {
    list->style = kDropDownListOnly;
    list->font.ParseFontText(kFont11);
    list->SetDropDownTitle(title);
    CreateAt(*list, &BatchGroup, 8, y, 234, 26, id);
    list->SetDropDownItemsText(kCharsetItems);
    list->AddDropDownHandleIcon();
    list->SelectDropDownItem(0);
  }
  makeBatchButton(BatchDecodeButton, u"批量解码", 956, 175);
}

void rg_ZhuChuangKouLei::BuildEditors() {
  CreateAt(EditorsPanel, this, 0, 240, 1248, 362, 176);

  auto makeEditorButton = [this](Button& button, const char16_t* caption, int x, int id, int32_t image) {
    button.BindButtonClickHandler(&ButtonClickCallback, MainWindowEvents);
    button.imageRenderWidth = 16;
    button.imageRenderHeight = 16;
    button.SetButtonText(caption);
    CreateAt(button, &EditorsPanel, x, 7, 103, 29, id);
    button.SetButtonFont(kFont11);
    button.SetButtonSvgResource(image);
  };
  makeEditorButton(PasteButton, u"粘贴", 471, 177, kPasteImage);
  makeEditorButton(CopyButton, u"复制", 1086, 178, kCopyImage);

  InputEditor.SetFontText(kFont11);
  CreateAt(InputEditor, &EditorsPanel, 15, 48, 560, 301, 179);
  InputEditor.SetCodeEditText(kSampleInput);
  if (InputEditor.HasWindow()) InputEditor.Send(kSciSetWrapMode, kWrapAtCharacters);
  ResultEditor.SetFontText(kFont11);
  CreateAt(ResultEditor, &EditorsPanel, 638, 48, 560, 301, 180);
  if (ResultEditor.HasWindow()) ResultEditor.Send(kSciSetWrapMode, kWrapAtCharacters);

  for (auto [label, caption, x, id] : {std::tuple{&InputCaption, u"待转换内容(支持拖放文件到下面)", 15, 181},
                                       std::tuple{&ResultCaption, u"转换结果", 638, 182}}) {
    HeadingLook(*label);
    label->BindLabelEventHandler(&HtmlPreviewCallback, MainWindowEvents);
    label->SetCursorShape(rg_Ombrine_MFCJieMian_base::kCursorHand);
    CreateAt(*label, &EditorsPanel, x, 2, 560, 42, id);
    label->SetLabelText(caption);
  }

  SwapButton.BindButtonClickHandler(&ButtonClickCallback, MainWindowEvents);
  SwapButton.textColours[0] = 0xFF8800;
  SwapButton.backColours[0] = 0xD9ECFF;
  SwapButton.borderColours[0] = 0x0080FF;
  SwapButton.SetButtonText(u"交换");
  CreateAt(SwapButton, &EditorsPanel, 586, 173, 70, 48, 183);
  SwapButton.SetButtonFont(kFont13);

  WrapButton.BindButtonClickHandler(&ButtonClickCallback, MainWindowEvents);
  WrapButton.checkMode = 1;
  WrapButton.SetButtonText(u"折行");
  WrapButton.SetButtonToolTip(u"编辑框是否自动折行显示");
  WrapButton.SetVisible(false);
  CreateAt(WrapButton, &EditorsPanel, 586, 336, 70, 48, 184);
  WrapButton.SetButtonChecked(0);
  WrapButton.SetButtonFont(kFont13);
}

}  // namespace rg_Ombrine_app
