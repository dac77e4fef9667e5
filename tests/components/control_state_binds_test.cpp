// The control-state saver's bind operations: the section, key and value each
// kind of control writes into a real settings file, the round trip through a
// fresh load, and the edge cases of keys, missing values and repainting.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>

#include <filesystem>
#include <string>
#include <vector>

#include "common/utf16le.h"
#include "components/code_edit_with_menu.h"
#include "components/control_state_binds.h"
#include "framework/framework_test_util.h"
#include "framework/qt_platform_hooks.h"
#include "framework/win_form.h"
#include "test_support.h"

using namespace rg_Tavelkin_MingLingJi;
using rg_Ombrine_MFCJieMian_base::rg_check_box;
using rg_Ombrine_MFCJieMian_base::rg_edit_box;
using rg_Ombrine_MFCJieMian_base::rg_radio_box;
using rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_TavelkinHuoHuaBianJiKuang1;
using rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinAnNiu1;
using rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinXuanZhongKuang1;
using rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinZuGeKuang1;
using rg_TavelkinMingLingJi_ChuangKouZuJian::kDropDownEditable;
using rg_TavelkinMingLingJi_ChuangKouZuJian::kDropDownListOnly;
using qzu_test::PumpUntil;
using qzu_test::R;
using qzu_test::Recorder;

namespace {

constexpr int32_t kSave = rg_TavelkinMFCZuJianPeiZhiLei::kSaveControls;
constexpr int32_t kRestore = rg_TavelkinMFCZuJianPeiZhiLei::kRestoreControls;

CWString PathText(const std::filesystem::path& p) { return CWString::FromSystemPath(p.string()); }

CWString FileText(const std::filesystem::path& p) {
  const std::vector<uint8_t> bytes = qzu_test::ReadFile(p);
  return TextOfUtf16Le(bytes.data(), bytes.size());
}

// One control of every kind on a shown form, each with a caption and a state.
struct Controls {
  CQzuWinForm form;
  rg_edit_box filterEdit;    // bound as 文件过滤
  rg_edit_box separatorEdit; // unnamed: its text member makes the key
  rg_TavelkinHuoHuaBianJiKuang1 inputEditor;
  rg_check_box asciiCheck;
  rg_radio_box basicRadio;
  rg_radio_box typesetRadio;
  rg_TavelkinXuanZhongKuang1 subfolderCheck;
  rg_TavelkinAnNiu1 batchButton;  // mode 0
  rg_TavelkinAnNiu1 wrapButton;   // mode 1
  rg_TavelkinZuGeKuang1 charsetList;    // named 输出编码: its index
  rg_TavelkinZuGeKuang1 extensionList;  // unnamed, editable, mode 1: its value
  rg_TavelkinZuGeKuang1 colourList;     // colour mode: its colour only

  Controls() {
    InstallQtPlatformHooks();
    EXPECT_EQ(form.CreateForm(nullptr, 20, 20, 640, 480), 1);
    filterEdit.Create(&form, 5, 5, 200, 24);
    separatorEdit.SetTextMember(u"分隔符");
    separatorEdit.AddStyle(qzu_win::kEsMultiline);
    separatorEdit.Create(&form, 5, 35, 200, 60);
    inputEditor.Create(&form, 220, 5, 300, 120);
    asciiCheck.Create(&form, 5, 100, 120, 24, 0, u"ASCII字符");
    basicRadio.Create(&form, 5, 130, 120, 24, 0, u"基本");
    typesetRadio.Create(&form, 5, 160, 120, 24, 0, u"排版");
    subfolderCheck.SetButtonText(u"遍历子目录");
    subfolderCheck.Create(&form, 5, 190, 160, 30);
    batchButton.SetButtonText(u"批量编码");
    batchButton.Create(&form, 5, 230, 160, 40);
    wrapButton.SetButtonText(u"折行");
    wrapButton.Create(&form, 5, 280, 160, 40);
    charsetList.style = kDropDownListOnly;
    charsetList.Create(&form, 220, 140, 200, 26, 1);
    charsetList.SetDropDownItemsText(u"自动识别\r\nANSI\r\nUTF-8");
    extensionList.style = kDropDownEditable;
    extensionList.SetTextMember(u"文件扩展名");
    extensionList.Create(&form, 220, 180, 200, 26, 1);
    extensionList.SetDropDownItemsText(u"自动\r\nhtml\r\ntxt");
    colourList.colourMode = 1;
    colourList.Create(&form, 220, 220, 200, 26, 1);
    colourList.SetDropDownItemsText(u"自定义|-2\r\n红|255\r\n蓝|16711680");
    EXPECT_TRUE(PumpUntil([&] { return wrapButton.shown == 1 && subfolderCheck.shown == 1; }));
  }

  // The states the table expects to find in the file.
  void SetFirstStates() {
    filterEdit.SetCaption(u"*.htm|*.txt");
    separatorEdit.SetCaption(u"第一行\r\n第二行");
    inputEditor.SetCodeEditText(u"待转换的\r\n内容");
    asciiCheck.SetChecked(true);
    typesetRadio.SetChecked(true);  // basic becomes unticked
    subfolderCheck.checked = 1;
    batchButton.SetTextMember(u"/data/旧文件");
    wrapButton.checked = 1;
    charsetList.SelectDropDownItem(2);
    extensionList.SetDropDownValue(u"md");
    colourList.SelectDropDownItem(1);
    colourList.SetDropDownColour(0x00FF00);  // no item has it: the custom colour
  }
  // Other states, which a restore must undo.
  void SetOtherStates() {
    filterEdit.SetCaption(u"*.*");
    separatorEdit.SetCaption(u"");
    inputEditor.SetCodeEditText(u"别的");
    asciiCheck.SetChecked(false);
    basicRadio.SetChecked(true);
    subfolderCheck.checked = 0;
    batchButton.SetTextMember(u"");
    wrapButton.checked = 0;
    charsetList.SelectDropDownItem(0);
    extensionList.SetDropDownValue(u"txt");
    colourList.SetDropDownColour(255);
  }

  void ExpectFirstStates() {
    EXPECT_EQ(filterEdit.GetCaption(), u"*.htm|*.txt");
    EXPECT_EQ(separatorEdit.GetCaption(), u"第一行\r\n第二行");
    EXPECT_EQ(inputEditor.GetCodeEditText(), u"待转换的\r\n内容");
    EXPECT_TRUE(asciiCheck.GetChecked());
    EXPECT_FALSE(basicRadio.GetChecked());
    EXPECT_TRUE(typesetRadio.GetChecked());
    EXPECT_EQ(subfolderCheck.checked, 1);
    EXPECT_EQ(batchButton.GetTextMember(), u"/data/旧文件");
    EXPECT_EQ(wrapButton.checked, 1);
    EXPECT_EQ(charsetList.GetDropDownIndex(), 2);
    EXPECT_EQ(extensionList.GetDropDownValue(), u"md");
    EXPECT_EQ(colourList.GetDropDownColour(), 0x00FF00u);
  }

  // The main window's way: one routine, sections assigned between groups.
  void BindAll(rg_TavelkinMFCZuJianPeiZhiLei& saver, int32_t mode) {
    saver.SaveMode = mode;
    saver.CurrentSection = u"主界面.批量设置";
    BindEditBoxText(saver, filterEdit, u"文件过滤");
    BindCheckedBoxState(saver, subfolderCheck, u"");
    BindButtonState(saver, batchButton, u"", kBindButtonText);
    BindDropDownState(saver, charsetList, u"输出编码", kBindDropDownIndex);
    BindDropDownState(saver, colourList, u"背景色", kBindDropDownIndex);
    saver.CurrentSection = u"主界面.转换设置.去重类型";
    BindEditBoxText(saver, separatorEdit, u"");
    saver.CurrentSection = u"主界面.转换设置.编码包括";
    BindCheckBoxState(saver, asciiCheck, u"");
    saver.CurrentSection = u"主界面.转换设置.txt选项";
    BindRadioBoxState(saver, basicRadio, u"");
    BindRadioBoxState(saver, typesetRadio, u"");
    BindDropDownState(saver, extensionList, u"", kBindDropDownValue);
    saver.CurrentSection = u"主界面";
    BindCodeEditText(saver, inputEditor, u"待转换内容");
    BindButtonState(saver, wrapButton, u"", kBindButtonChecked);
    if (mode == kSave) saver.SaveIniIfChanged();
  }
};

struct SettingsFile {
  qzu_test::TempDir dir;
  std::filesystem::path path = dir.path() / "软件配置.ini";
  void LoadInto(rg_TavelkinMFCZuJianPeiZhiLei& saver) const {
    saver.LoadIni(PathText(path), rg_TavelkinPeiZhiJiLei::kIniAsStored);
  }
  // The file's text as a fresh store reads it.
  CWString Value(const CWString& section, const CWString& key) const {
    rg_TavelkinMFCZuJianPeiZhiLei fresh;
    LoadInto(fresh);
    return fresh.ReadIniValue(section, key, u"<missing>");
  }
};

}  // namespace

TEST(ControlStateBinds, EachKindWritesItsSectionKeyAndValue) {
  Controls c;
  SettingsFile file;
  rg_TavelkinMFCZuJianPeiZhiLei saver;
  file.LoadInto(saver);
  c.SetFirstStates();
  c.BindAll(saver, kSave);

  struct Row {
    const char* kind;
    const char16_t* section;
    const char16_t* key;
    const char16_t* value;
  };
  const Row rows[] = {
      {"edit box, named", u"主界面.批量设置", u"编辑框文件过滤", u"*.htm|*.txt"},
      {"edit box, unnamed: its text member", u"主界面.转换设置.去重类型", u"编辑框分隔符", u"第一行\x1E第二行"},
      {"check box", u"主界面.转换设置.编码包括", u"选择框ASCII字符", u"真"},
      {"radio box, unticked", u"主界面.转换设置.txt选项", u"单选框基本", u"假"},
      {"radio box, ticked", u"主界面.转换设置.txt选项", u"单选框排版", u"真"},
      {"owner-drawn check box", u"主界面.批量设置", u"Tavelkin选中框遍历子目录", u"真"},
      {"owner-drawn button, mode 0: its text member", u"主界面.批量设置", u"Tavelkin按钮批量编码", u"/data/旧文件"},
      {"owner-drawn button, mode 1: its check flag", u"主界面", u"Tavelkin按钮折行.选中", u"真"},
      {"drop-down list, mode 0: its index", u"主界面.批量设置", u"组合框输出编码", u"2"},
      {"drop-down list, mode 1: its value", u"主界面.转换设置.txt选项", u"组合框文件扩展名.内容", u"md"},
      {"drop-down list, colour mode: its colour", u"主界面.批量设置", u"组合框背景色.颜色", u"65280"},
      {"drop-down list, colour mode: no index", u"主界面.批量设置", u"组合框背景色", u"<missing>"},
  };
  for (const Row& r : rows) EXPECT_EQ(file.Value(r.section, r.key), r.value) << r.kind;

  // The code edit box's text is a long value: a side file, not a key.
  EXPECT_EQ(file.Value(u"主界面", u"Tavelkin火花编辑框待转换内容"), u"<missing>");
  const auto side = file.dir.path() / "ini" / "[主界面]Tavelkin火花编辑框待转换内容";
  EXPECT_EQ(FileText(side), u"待转换的\r\n内容");

  // The file itself, as stored: one section's lines in binding order.
  const CWString text = FileText(file.path);
  EXPECT_TRUE(text.Contains(u"[主界面]\r\nTavelkin按钮折行.选中=真")) << text.ToUtf8();
}

TEST(ControlStateBinds, EveryKindRoundTripsThroughAFreshLoad) {
  Controls c;
  SettingsFile file;
  {
    rg_TavelkinMFCZuJianPeiZhiLei saver;
    file.LoadInto(saver);
    c.SetFirstStates();
    c.BindAll(saver, kSave);
  }
  c.SetOtherStates();
  Recorder rec;
  for (rg_TavelkinAnNiu1* b : {static_cast<rg_TavelkinAnNiu1*>(&c.subfolderCheck), &c.wrapButton}) {
    b->ClickEvent.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
      R(r)->Add("click");
      return 0;
    }, rec.ref);
    b->CheckChangingEvent.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
      R(r)->Add("changing");
      return 0;
    }, rec.ref);
  }

  rg_TavelkinMFCZuJianPeiZhiLei fresh;
  file.LoadInto(fresh);
  c.BindAll(fresh, kRestore);
  c.ExpectFirstStates();
  EXPECT_TRUE(rec.log.empty()) << "a restore raises no event";
}

TEST(ControlStateBinds, MissingKeysLeaveEveryControlAsItIs) {
  Controls c;
  SettingsFile file;  // no file at all
  c.SetFirstStates();
  rg_TavelkinMFCZuJianPeiZhiLei saver;
  file.LoadInto(saver);
  c.BindAll(saver, kRestore);
  c.ExpectFirstStates();
}

TEST(ControlStateBinds, AnUnnamedControlKeepsItsFirstKeyWhenItsCaptionChanges) {
  Controls c;
  SettingsFile file;
  rg_TavelkinMFCZuJianPeiZhiLei saver;
  file.LoadInto(saver);
  saver.CurrentSection = u"主界面.批量设置";
  saver.SaveMode = kRestore;
  BindButtonState(saver, c.batchButton, u"", kBindButtonText);  // at window creation
  c.batchButton.SetButtonText(u"批量解码");  // the caption follows the chosen function
  c.batchButton.SetTextMember(u"/data/新");
  saver.SaveMode = kSave;
  BindButtonState(saver, c.batchButton, u"", kBindButtonText);
  EXPECT_EQ(saver.ReadIniValue(u"主界面.批量设置", u"Tavelkin按钮批量编码", u""), u"/data/新");
  EXPECT_EQ(saver.ReadIniValue(u"主界面.批量设置", u"Tavelkin按钮批量解码", u"<missing>"), u"<missing>");
  EXPECT_EQ(saver.ControlKeys.entries[reinterpret_cast<intptr_t>(&c.batchButton)], u"Tavelkin按钮批量编码");

  // A name is used as given and not remembered; another mode (here 1) takes
  // the remembered key with its suffix.
  BindButtonState(saver, c.batchButton, u"UCS2", kBindButtonChecked);
  EXPECT_NE(saver.ReadIniValue(u"主界面.批量设置", u"Tavelkin按钮UCS2.选中", u"<missing>"), u"<missing>");
  BindButtonState(saver, c.batchButton, u"", kBindButtonChecked);
  EXPECT_NE(saver.ReadIniValue(u"主界面.批量设置", u"Tavelkin按钮批量编码.选中", u"<missing>"), u"<missing>");
}

TEST(ControlStateBinds, ANamedEditBoxWritesOneKeyPerSectionItIsBoundIn) {
  Controls c;
  SettingsFile file;
  rg_TavelkinMFCZuJianPeiZhiLei saver;
  file.LoadInto(saver);
  saver.SaveMode = kSave;
  c.filterEdit.SetCaption(u"*.txt");
  saver.CurrentSection = u"甲";
  BindEditBoxText(saver, c.filterEdit, u"文件过滤");
  saver.CurrentSection = u"乙";
  BindEditBoxText(saver, c.filterEdit, u"文件过滤");
  EXPECT_EQ(saver.ReadIniValue(u"甲", u"编辑框文件过滤", u""), u"*.txt");
  EXPECT_EQ(saver.ReadIniValue(u"乙", u"编辑框文件过滤", u""), u"*.txt");
  EXPECT_TRUE(saver.ControlKeys.entries.empty());
}

TEST(ControlStateBinds, OtherModesOnlyMakeAndRememberTheKey) {
  Controls c;
  SettingsFile file;
  rg_TavelkinMFCZuJianPeiZhiLei saver;
  file.LoadInto(saver);
  saver.CurrentSection = u"主界面";
  saver.SaveMode = kSave;
  c.wrapButton.checked = 1;
  c.wrapButton.SetTextMember(u"内容");
  BindButtonState(saver, c.wrapButton, u"", 2);
  EXPECT_TRUE(saver.IniBytes.IsEmpty() || saver.ReadIniValue(u"主界面", u"Tavelkin按钮折行", u"<missing>") ==
                                              u"<missing>");
  EXPECT_EQ(saver.ReadIniValue(u"主界面", u"Tavelkin按钮折行.选中", u"<missing>"), u"<missing>");
  EXPECT_EQ(saver.ControlKeys.entries[reinterpret_cast<intptr_t>(&c.wrapButton)], u"Tavelkin按钮折行");

  c.extensionList.SetDropDownValue(u"md");
  BindDropDownState(saver, c.extensionList, u"", 2);
  EXPECT_EQ(saver.ReadIniValue(u"主界面", u"组合框文件扩展名", u"<missing>"), u"<missing>");
  EXPECT_EQ(saver.ReadIniValue(u"主界面", u"组合框文件扩展名.内容", u"<missing>"), u"<missing>");
  EXPECT_EQ(saver.ControlKeys.entries[reinterpret_cast<intptr_t>(&c.extensionList)], u"组合框文件扩展名");
}

TEST(ControlStateBinds, FrameworkBoxesWithoutAWindowReadAsUntickedAndAreNotRestored) {
  rg_check_box box;
  box.SetCaption(u"换行");
  box.SetChecked(true);  // kept for the window to come, but there is none
  SettingsFile file;
  rg_TavelkinMFCZuJianPeiZhiLei saver;
  file.LoadInto(saver);
  saver.CurrentSection = u"S";
  saver.SaveMode = kSave;
  BindCheckBoxState(saver, box, u"");
  EXPECT_EQ(saver.ReadIniValue(u"S", u"选择框换行", u""), u"假");
  saver.WriteIniValue(u"S", u"选择框换行", u"假");
  saver.SaveMode = kRestore;
  BindCheckBoxState(saver, box, u"");
  EXPECT_TRUE(box.GetChecked()) << "nothing is sent to a box without a window";
}

TEST(ControlStateBinds, AnOwnerDrawnFlagRepaintsOnlyWhenTheStoredValueDiffers) {
  Controls c;
  SettingsFile file;
  rg_TavelkinMFCZuJianPeiZhiLei saver;
  file.LoadInto(saver);
  saver.CurrentSection = u"主界面.批量设置";
  saver.WriteIniValue(u"主界面.批量设置", u"Tavelkin选中框遍历子目录", u"真");
  c.subfolderCheck.checked = 1;
  // A mark on the canvas that any repaint covers.
  CQzuDC& dc = c.subfolderCheck.Canvas().GetDC();
  const COLORREF mark = 0x123456;
  dc.SetPixel(1, 1, mark);
  saver.SaveMode = kRestore;
  BindCheckedBoxState(saver, c.subfolderCheck, u"");
  EXPECT_EQ(dc.GetPixel(1, 1), mark) << "restored to the state it had: not repainted";

  saver.WriteIniValue(u"主界面.批量设置", u"Tavelkin选中框遍历子目录", u"假");
  BindCheckedBoxState(saver, c.subfolderCheck, u"");
  EXPECT_EQ(c.subfolderCheck.checked, 0);
  EXPECT_NE(dc.GetPixel(1, 1), mark) << "a changed flag is repainted";
}

TEST(ControlStateBinds, ADropDownIndexPastTheItemsSelectsNoneAndSavesMinusOne) {
  Controls c;
  SettingsFile file;
  rg_TavelkinMFCZuJianPeiZhiLei saver;
  file.LoadInto(saver);
  saver.CurrentSection = u"主界面";
  saver.WriteIntValue(u"组合框输出编码", 5);
  c.charsetList.SelectDropDownItem(1);
  saver.SaveMode = kRestore;
  BindDropDownState(saver, c.charsetList, u"输出编码", kBindDropDownIndex);
  EXPECT_EQ(c.charsetList.GetDropDownIndex(), -1);
  EXPECT_EQ(c.charsetList.GetDropDownValue(), u"");
  saver.SaveMode = kSave;
  BindDropDownState(saver, c.charsetList, u"输出编码", kBindDropDownIndex);
  EXPECT_EQ(saver.ReadIntValue(u"组合框输出编码", 7), -1);
}

// A side file holding a NUL (damaged, or written by another program): the
// editor shows the text up to the NUL, and saving a box the user did not
// change writes nothing, so the file keeps every byte. An edit is saved.
TEST(ControlStateBinds, ASideFileWithANulIsNotCutBySavingAnUnchangedEditor) {
  Controls c;
  SettingsFile file;
  const auto side = file.dir.path() / "ini" / "[主界面]Tavelkin火花编辑框待转换内容";
  std::filesystem::create_directories(side.parent_path());
  using namespace std::string_literals;
  const std::u16string stored = u"前文\r\n第二行\0后文\0\0尾"s;
  const CQzuMem storedBytes = Utf16LeBytesOf(stored);
  qzu_test::WriteFile(side, std::vector<uint8_t>(storedBytes.GetData(), storedBytes.GetData() + storedBytes.GetSize()));
  const std::string storedHex = qzu_test::ToHex(storedBytes);

  rg_TavelkinMFCZuJianPeiZhiLei saver;
  file.LoadInto(saver);
  saver.CurrentSection = u"主界面";
  saver.SaveMode = kRestore;
  BindCodeEditText(saver, c.inputEditor, u"待转换内容");
  EXPECT_EQ(c.inputEditor.GetCodeEditText(), u"前文\r\n第二行");

  saver.SaveMode = kSave;
  for (int close = 0; close < 2; ++close) {  // a batch saves first, the close again
    BindCodeEditText(saver, c.inputEditor, u"待转换内容");
    EXPECT_EQ(qzu_test::ToHex(qzu_test::ReadFile(side)), storedHex) << close;
  }

  c.inputEditor.SetCodeEditText(u"前文\r\n第二行改");
  BindCodeEditText(saver, c.inputEditor, u"待转换内容");
  EXPECT_EQ(FileText(side), u"前文\r\n第二行改");
  // Back to what was shown at the restore: an edit like any other now.
  c.inputEditor.SetCodeEditText(u"前文\r\n第二行");
  BindCodeEditText(saver, c.inputEditor, u"待转换内容");
  EXPECT_EQ(FileText(side), u"前文\r\n第二行");
}
