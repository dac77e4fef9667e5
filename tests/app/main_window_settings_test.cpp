// The main window bound to its settings file: the sections and keys a first
// close writes, a round trip of every option and the input text, a close
// without changes that writes nothing, stored toggles choosing the function,
// and batch buttons that keep their keys when their captions change.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "main_window_settings_fixture.h"

using namespace rg_Ombrine_app;
namespace fs = std::filesystem;

namespace qzu_test {
namespace {

using Window = rg_ZhuChuangKouLei;

// The lines of a settings file (UTF-16LE after its mark), empty ones left out.
std::vector<std::string> IniLines(const fs::path& path) {
  const std::vector<uint8_t> bytes = qzu_test::ReadFile(path);
  EXPECT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
  std::u16string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u"\r\n", start);
    if (end == std::u16string::npos) end = text.size();
    if (end > start) lines.push_back(CWString(text.substr(start, end - start)).ToUtf8());
    start = end + 2;
  }
  return lines;
}

void WriteIni(const fs::path& path, const std::u16string& text) {
  std::vector<uint8_t> bytes = {0xFF, 0xFE};
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  qzu_test::WriteFile(path, bytes);
}

std::vector<uint8_t> Utf16LeBytes(std::u16string_view text) {
  std::vector<uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

int CheckedToggles(Window& w) {
  int n = 0;
  for (int i = 0; i < kConversionFunctionCount; ++i) n += w.FunctionToggle(static_cast<ConversionFunction>(i)).checked;
  return n;
}

TEST_F(MainWindowWithSettings, AFirstCloseWritesEverySectionAndKeyInOrder) {
  OpenWithSettings();
  Close();
  const std::vector<std::string> expected = {
      "[主界面.批量设置]",
      "编辑框文件过滤=*.htm|*.html|*.txt",
      "组合框输入编码=0",
      "组合框输出编码=0",
      "Tavelkin选中框删除原文件=假",
      "Tavelkin选中框新位置保存=真",
      "Tavelkin选中框遍历子目录=假",
      "Tavelkin选中框去除 BOM=假",
      "Tavelkin选中框转换文件名=假",
      "Tavelkin按钮批量编码=",
      "Tavelkin按钮批量解码=",
      "[主界面.转换设置]",
      "Tavelkin按钮无.选中=真",
      "Tavelkin按钮UCS2.选中=假",
      "Tavelkin按钮Unicode十进制.选中=假",
      "Tavelkin按钮Unicode十六进制.选中=假",
      "Tavelkin按钮URL.选中=假",
      "Tavelkin按钮URL-UTF8.选中=假",
      "Tavelkin按钮字节集(十六进制).选中=假",
      "Tavelkin按钮字节集.选中=假",
      "Tavelkin按钮Base64.选中=假",
      "Tavelkin按钮Win(\\r\\n).选中=假",
      "Tavelkin按钮Unix(\\n).选中=假",
      "Tavelkin按钮Mac(\\r).选中=假",
      "Tavelkin按钮繁体.选中=假",
      "Tavelkin按钮大写.选中=假",
      "Tavelkin按钮极速去重.选中=假",
      "Tavelkin按钮html到txt.选中=假",
      "Tavelkin按钮word到txt.选中=假",
      "Tavelkin按钮MD5.选中=假",
      "Tavelkin按钮SHA1.选中=假",
      "Tavelkin按钮SHA256.选中=假",
      "Tavelkin按钮拼音.选中=假",
      "[主界面.转换设置.编码包括]",
      "选择框ASCII字符=假",
      "选择框换行=真",
      "选择框连接符=真",
      "[主界面.转换设置.txt选项]",
      "单选框基本=真",
      "单选框排版=假",
      "单选框带图排版=假",
      "单选框带图排版加<P>=假",
      "组合框拼音概率.内容=txt",
      "[主界面.转换设置.wordtxt选项]",
      "单选框基本=真",
      "单选框排版=假",
      "单选框排版加<P>=假",
      "[主界面.转换设置.字符格式]",
      "单选框原始=真",
      "单选框ANSI=假",
      "单选框UTF-8=假",
      "单选框Unicode=假",
      "单选框Ube=假",
      "[主界面.转换设置.去重类型]",
      "单选框删除重复=真",
      "单选框提取没有重复=假",
      "单选框提取重复=假",
      "编辑框分隔符=",
      "编辑框子分隔符=",
      "编辑框子序号=1",
      "[主界面.转换设置.拼音选项]",
      "组合框拼音概率.内容=5%",
      "Tavelkin选中框带音调=假",
      "Tavelkin选中框首字母大写=真",
      "Tavelkin选中框替换格式=假",
      "[主界面]",
      "Tavelkin按钮折行.选中=假",
  };
  EXPECT_EQ(IniLines(IniPath()), expected);
  // The input text goes to a side file of its own, but not the built sample
  // text: a start without that file shows the sample anyway.
  EXPECT_FALSE(fs::exists(folder.path() / fs::u8path("ini/[主界面]Tavelkin火花编辑框待转换内容")));
}

TEST_F(MainWindowWithSettings, EveryOptionAndTheInputTextComeBack) {
  Window& w = OpenWithSettings();
  const std::string first = Describe(w.FillConversionOptions());
  Click(w.HtmlToTextToggle);
  w.FileFilterEdit.SetText(u"*.txt|*.md");
  w.InputCharsetList.SelectDropDownItem(2);
  w.OutputCharsetList.SelectDropDownItem(4);
  for (Window::OptionCheck* c : {&w.WalkSubfoldersCheck, &w.StripBomCheck, &w.DeleteOriginalCheck,
                                 &w.SaveToNewLocationCheck, &w.ConvertFileNamesCheck})
    Click(*c);
  w.BatchEncodeButton.SetTextMember(u"/data/编码");
  w.BatchDecodeButton.SetTextMember(u"/data/解码");
  w.AsciiCheck.SetChecked(true);
  w.LineBreaksCheck.SetChecked(false);
  w.JoinersCheck.SetChecked(false);
  w.HtmlTypesetImagesPRadio.SetChecked(true);
  w.TxtExtensionList.SelectDropDownItem(1);
  w.WordTypesetPRadio.SetChecked(true);
  w.UbeRadio.SetChecked(true);
  w.KeepDuplicatedRadio.SetChecked(true);
  w.SeparatorEdit.SetText(u"，");
  w.SubSeparatorEdit.SetText(u"|");
  w.SubIndexEdit.SetText(u"3");
  w.PinyinRatioList.SelectDropDownItem(3);
  w.ToneCheck.SetButtonChecked(1);
  w.CapitalizeCheck.SetButtonChecked(0);
  w.ReplaceFormatCheck.SetButtonChecked(1);
  w.WrapButton.SetButtonChecked(1);
  w.InputEditor.SetCodeEditText(u"往返\r\n第二行 text");
  const std::string changed = Describe(w.FillConversionOptions());
  ASSERT_NE(changed, first);
  Close();

  Window& again = OpenWithSettings();
  EXPECT_EQ(Describe(again.FillConversionOptions()), changed);
  EXPECT_EQ(again.InputEditor.GetCodeEditText().ToUtf8(), "往返\r\n第二行 text");
  EXPECT_EQ(again.BatchEncodeButton.GetTextMember().ToUtf8(), "/data/编码");
  EXPECT_EQ(again.BatchDecodeButton.GetTextMember().ToUtf8(), "/data/解码");
  EXPECT_EQ(again.WrapButton.checked, 1);
  EXPECT_EQ(CheckedToggles(again), 1);
  // The panels and captions of the function chosen, and the format edit
  // enabled by the stored check.
  EXPECT_TRUE(again.TxtPanel.IsVisible());
  EXPECT_FALSE(again.CharFormatPanel.IsVisible());
  EXPECT_EQ(again.EncodeButton.GetButtonText().ToUtf8(), "html到txt");
  EXPECT_TRUE(again.PinyinFormatEdit.IsEnabled());
}

TEST_F(MainWindowWithSettings, ACloseWithoutChangesWritesNothing) {
  OpenWithSettings().InputEditor.SetCodeEditText(u"保存的文本");
  Close();
  const fs::path sideFile = folder.path() / fs::u8path("ini/[主界面]Tavelkin火花编辑框待转换内容");
  ASSERT_TRUE(fs::exists(IniPath()));
  ASSERT_EQ(qzu_test::ReadFile(sideFile), Utf16LeBytes(u"保存的文本"));
  const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365);
  fs::last_write_time(IniPath(), longAgo);
  fs::last_write_time(sideFile, longAgo);

  OpenWithSettings();
  Close();
  EXPECT_EQ(fs::last_write_time(IniPath()), longAgo);
  EXPECT_EQ(fs::last_write_time(sideFile), longAgo);

  // A change is written.
  Window& w = OpenWithSettings();
  w.AsciiCheck.SetChecked(true);
  w.InputEditor.SetCodeEditText(u"新的");
  Close();
  EXPECT_NE(fs::last_write_time(IniPath()), longAgo);
  EXPECT_NE(fs::last_write_time(sideFile), longAgo);
}

TEST_F(MainWindowWithSettings, StoredTogglesChooseTheFunction) {
  struct Row {
    const char* name;
    std::u16string toggles;
    ConversionFunction chosen;
    const char* encodeCaption;
  };
  const Row rows[] = {
      {"UCS2 stored, 无 off", u"Tavelkin按钮无.选中=假\r\nTavelkin按钮UCS2.选中=真", ConversionFunction::Ucs2,
       "UCS2编码"},
      // A file that checks two: the first in the toggles' order is the one
      // used, and the only one that shows checked.
      {"two stored", u"Tavelkin按钮无.选中=假\r\nTavelkin按钮URL.选中=真\r\nTavelkin按钮UCS2.选中=真",
       ConversionFunction::Ucs2, "UCS2编码"},
      {"none stored checked", u"Tavelkin按钮无.选中=假", ConversionFunction::None,
       "没有选择功能，请直接使用批量转换，设置输入输出编码"},
      {"a literal backslash in the key", u"Tavelkin按钮无.选中=假\r\nTavelkin按钮Unix(\\n).选中=真",
       ConversionFunction::BreakUnix, "转换为Unix(\\n)换行格式"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    WriteIni(IniPath(), u"[主界面.转换设置]\r\n" + row.toggles);
    Window& w = OpenWithSettings();
    EXPECT_EQ(w.SelectedFunction(), row.chosen);
    EXPECT_EQ(w.FunctionToggle(row.chosen).checked, 1);
    EXPECT_EQ(CheckedToggles(w), 1);
    EXPECT_EQ(w.EncodeButton.GetButtonText().ToUtf8(), row.encodeCaption);
    Discard();
  }
}

TEST_F(MainWindowWithSettings, StoredListPositionsOutsideTheListsSelectNothing) {
  WriteIni(IniPath(),
           u"[主界面.批量设置]\r\n组合框输入编码=9\r\n组合框输出编码=3\r\n"
           u"[主界面.转换设置.拼音选项]\r\nTavelkin选中框替换格式=真");
  Window& w = OpenWithSettings();
  const ConversionOptions o = w.FillConversionOptions();
  EXPECT_EQ(o.inputCharsetIndex, -1);
  EXPECT_EQ(o.outputCharsetIndex, 3);
  EXPECT_TRUE(o.pinyinReplaceFormat);
  EXPECT_TRUE(w.PinyinFormatEdit.IsEnabled());
  Close();
  const std::vector<std::string> lines = IniLines(IniPath());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "组合框输入编码=-1"), lines.end());
}

TEST_F(MainWindowWithSettings, BatchButtonsKeepTheirKeysWhenTheirCaptionsChange) {
  Window& w = OpenWithSettings();
  Click(w.DedupeToggle);
  ASSERT_EQ(w.BatchEncodeButton.GetButtonText().ToUtf8(), "批量去重");
  w.BatchEncodeButton.SetTextMember(u"/data/in");
  Close();
  const std::vector<std::string> lines = IniLines(IniPath());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Tavelkin按钮批量编码=/data/in"), lines.end());
  for (const std::string& line : lines) EXPECT_EQ(line.find("批量去重"), std::string::npos) << line;
}

}  // namespace
}  // namespace qzu_test
