// The function toggles of the main window: one click on each of the 21
// through the button's own press, then the toggles' exclusive checked state,
// the option panels shown, the options enabled, and the four action captions
// with the widths of the encode buttons.
#include <gtest/gtest.h>

#include "main_window_fixture.h"

namespace qzu_test {
namespace {

using rg_Ombrine_app::ConversionFunction;
using F = ConversionFunction;

struct FunctionRow {
  F function;
  // The panels: txt, Word, de-dup, char format, encode includes, pinyin.
  const char* panels;
  bool fileFilter;
  bool joiners;
  const char16_t* encode;
  const char16_t* decode;
  const char16_t* batchEncode;
  const char16_t* batchDecode;
};

const FunctionRow kFunctions[] = {
    {F::None, "......", true, false, u"没有选择功能，请直接使用批量转换，设置输入输出编码", u"", u"批量转码", u""},
    {F::Ucs2, "....E.", true, false, u"UCS2编码", u"UCS2解码", u"批量编码", u"批量解码"},
    {F::UnicodeDecimal, "....E.", true, false, u"Unicode十进制编码", u"Unicode十进制解码", u"批量编码", u"批量解码"},
    {F::UnicodeHex, "....E.", true, false, u"Unicode十六进制编码", u"Unicode十六进制解码", u"批量编码", u"批量解码"},
    {F::Url, "....E.", true, true, u"URL编码", u"URL解码", u"批量编码", u"批量解码"},
    {F::UrlUtf8, "....E.", true, true, u"URL-UTF8编码", u"URL-UTF8解码", u"批量编码", u"批量解码"},
    {F::BytesHex, "...C..", true, false, u"字节集(十六进制)编码", u"字节集(十六进制)解码", u"批量编码", u"批量解码"},
    {F::Bytes, "...C..", true, false, u"字节集编码", u"字节集解码", u"批量编码", u"批量解码"},
    {F::Base64, "...C..", true, false, u"Base64编码", u"Base64解码", u"批量编码", u"批量解码"},
    {F::BreakWin, "......", true, false, u"转换为Win(\\r\\n)换行格式", u"", u"批量转换", u""},
    {F::BreakUnix, "......", true, false, u"转换为Unix(\\n)换行格式", u"", u"批量转换", u""},
    {F::BreakMac, "......", true, false, u"转换为Mac(\\r)换行格式", u"", u"批量转换", u""},
    {F::Traditional, "......", true, false, u"简体到繁体", u"繁体到简体", u"批量到繁体", u"批量到简体"},
    {F::UpperCase, "......", true, false, u"字母到大写", u"字母到小写", u"批量到大写", u"批量到小写"},
    {F::Dedupe, "..D...", true, false, u"文本极速去重", u"文本极速去重2(保留空字符)", u"批量去重", u"批量去重2"},
    {F::HtmlToText, "T.....", true, false, u"html到txt", u"html到txt2(保留script、sytle之类代码)", u"批量到txt",
     u"批量到txt2"},
    {F::WordToText, ".W....", false, false, u"Word到TXT文本(仅直接处理文件)", u"TXT文本到Word(仅直接处理文件)",
     u"批量到TXT", u"批量到DOC"},
    {F::Md5, "...C..", true, false, u"MD5校验", u"MD5校验2(小写)", u"批量校验", u"批量校验2"},
    {F::Sha1, "...C..", true, false, u"SHA1校验", u"SHA1校验2(小写)", u"批量校验", u"批量校验2"},
    {F::Sha256, "...C..", true, false, u"SHA256校验", u"SHA256校验2(小写)", u"批量校验", u"批量校验2"},
    {F::Pinyin, ".....P", true, false, u"拼音伪原创", u"", u"批量拼音伪原创", u""},
};

class MainWindowPanelsTest : public MainWindowFixture {};

TEST_F(MainWindowPanelsTest, EveryFunctionShowsItsPanelsAndNamesItsButtons) {
  Window& w = Open();
  ASSERT_EQ(std::size(kFunctions), static_cast<size_t>(rg_Ombrine_app::kConversionFunctionCount));
  // Two passes: every function after another one, and once more after itself.
  for (int pass = 0; pass < 2; ++pass) {
    for (const FunctionRow& row : kFunctions) {
      SCOPED_TRACE(::testing::Message() << "function " << static_cast<int>(row.function) << " pass " << pass);
      Window::Button& toggle = w.FunctionToggle(row.function);
      toggle.PressButton();
      if (pass == 1) toggle.PressButton();  // a click on the checked toggle keeps it checked

      for (int i = 0; i < rg_Ombrine_app::kConversionFunctionCount; ++i) {
        const auto other = static_cast<F>(i);
        EXPECT_EQ(w.FunctionToggle(other).checked, other == row.function ? 1 : 0) << "toggle " << i;
      }
      EXPECT_EQ(w.SelectedFunction(), row.function);
      EXPECT_EQ(&w.SelectedFunctionButton(), &toggle);

      const bool expected[6] = {row.panels[0] == 'T', row.panels[1] == 'W', row.panels[2] == 'D',
                                row.panels[3] == 'C', row.panels[4] == 'E', row.panels[5] == 'P'};
      CQzuWinControl* panels[6] = {&w.TxtPanel,        &w.WordTxtPanel,        &w.DedupPanel,
                                   &w.CharFormatPanel, &w.EncodeIncludesPanel, &w.PinyinPanel};
      for (int i = 0; i < 6; ++i) EXPECT_EQ(panels[i]->IsVisible(), expected[i]) << "panel " << i;
      EXPECT_EQ(w.FileFilterEdit.IsEnabled(), row.fileFilter);
      EXPECT_EQ(w.JoinersCheck.IsEnabled(), row.joiners);

      EXPECT_EQ(w.EncodeButton.GetButtonText(), CWString(row.encode));
      EXPECT_EQ(w.DecodeButton.GetButtonText(), CWString(row.decode));
      EXPECT_EQ(w.BatchEncodeButton.GetButtonText(), CWString(row.batchEncode));
      EXPECT_EQ(w.BatchDecodeButton.GetButtonText(), CWString(row.batchDecode));
      // A silent partner leaves its place to the encode button.
      EXPECT_EQ(w.EncodeButton.GetWidth(), *row.decode ? 558 : 1166);
      EXPECT_EQ(w.BatchEncodeButton.GetWidth(), *row.batchDecode ? 218 : 448);
    }
  }
}

TEST_F(MainWindowPanelsTest, WithNoToggleCheckedTheWindowActsAsForNone) {
  Window& w = Open();
  w.Base64Toggle.PressButton();
  ASSERT_TRUE(w.CharFormatPanel.IsVisible());
  for (int i = 0; i < rg_Ombrine_app::kConversionFunctionCount; ++i)
    w.FunctionToggle(static_cast<F>(i)).SetButtonChecked(0);
  EXPECT_EQ(&w.SelectedFunctionButton(), &w.NoneToggle);
  w.UpdateOptionPanels();
  EXPECT_FALSE(w.CharFormatPanel.IsVisible());
  EXPECT_EQ(w.EncodeButton.GetButtonText(), CWString(u"没有选择功能，请直接使用批量转换，设置输入输出编码"));
  EXPECT_EQ(w.BatchEncodeButton.GetButtonText(), CWString(u"批量转码"));
}

TEST_F(MainWindowPanelsTest, OneSideOrOnePartOfTheCaptions) {
  Window& w = Open();
  w.Md5Toggle.PressButton();
  w.EncodeButton.SetButtonText(u"正在处理..");
  w.BatchEncodeButton.SetButtonText(u"停止批量操作");
  w.DecodeButton.SetButtonText(u"正在处理..");
  w.UpdateActionCaptions(rg_Ombrine_app::kEncodeSide, rg_Ombrine_app::kSingleOnly);
  EXPECT_EQ(w.EncodeButton.GetButtonText(), CWString(u"MD5校验"));
  EXPECT_EQ(w.BatchEncodeButton.GetButtonText(), CWString(u"停止批量操作"));
  EXPECT_EQ(w.DecodeButton.GetButtonText(), CWString(u"正在处理.."));
  w.UpdateActionCaptions(rg_Ombrine_app::kEncodeSide, rg_Ombrine_app::kBatchOnly);
  EXPECT_EQ(w.BatchEncodeButton.GetButtonText(), CWString(u"批量校验"));
  w.UpdateActionCaptions(rg_Ombrine_app::kDecodeSide, rg_Ombrine_app::kSingleAndBatch);
  EXPECT_EQ(w.DecodeButton.GetButtonText(), CWString(u"MD5校验2(小写)"));
  EXPECT_EQ(w.BatchDecodeButton.GetButtonText(), CWString(u"批量校验2"));
}

}  // namespace
}  // namespace qzu_test
