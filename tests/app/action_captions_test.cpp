// The four action captions and the option panels of every function, and the
// width an encode button takes when its partner has no caption.
#include <gtest/gtest.h>

#include "app/action_captions.h"
#include "app/option_panel_rules.h"
#include "test_support.h"

using namespace rg_Ombrine_app;

namespace {

struct Row {
  ConversionFunction function;
  const char16_t* encode;
  const char16_t* decode;
  const char16_t* batchEncode;
  const char16_t* batchDecode;
  const char* panels;  // t txt, w word, d dedup, c char format, e encode includes, p pinyin, - none
  bool fileFilter;
  bool joiners;
};

using F = ConversionFunction;
const Row kRows[] = {
    {F::None, u"没有选择功能，请直接使用批量转换，设置输入输出编码", u"", u"批量转码", u"", "-", true, false},
    {F::Ucs2, u"UCS2编码", u"UCS2解码", u"批量编码", u"批量解码", "e", true, false},
    {F::UnicodeDecimal, u"Unicode十进制编码", u"Unicode十进制解码", u"批量编码", u"批量解码", "e", true, false},
    {F::UnicodeHex, u"Unicode十六进制编码", u"Unicode十六进制解码", u"批量编码", u"批量解码", "e", true, false},
    {F::Url, u"URL编码", u"URL解码", u"批量编码", u"批量解码", "e", true, true},
    {F::UrlUtf8, u"URL-UTF8编码", u"URL-UTF8解码", u"批量编码", u"批量解码", "e", true, true},
    {F::BytesHex, u"字节集(十六进制)编码", u"字节集(十六进制)解码", u"批量编码", u"批量解码", "c", true, false},
    {F::Bytes, u"字节集编码", u"字节集解码", u"批量编码", u"批量解码", "c", true, false},
    {F::Base64, u"Base64编码", u"Base64解码", u"批量编码", u"批量解码", "c", true, false},
    {F::BreakWin, u"转换为Win(\\r\\n)换行格式", u"", u"批量转换", u"", "-", true, false},
    {F::BreakUnix, u"转换为Unix(\\n)换行格式", u"", u"批量转换", u"", "-", true, false},
    {F::BreakMac, u"转换为Mac(\\r)换行格式", u"", u"批量转换", u"", "-", true, false},
    {F::Traditional, u"简体到繁体", u"繁体到简体", u"批量到繁体", u"批量到简体", "-", true, false},
    {F::UpperCase, u"字母到大写", u"字母到小写", u"批量到大写", u"批量到小写", "-", true, false},
    {F::Dedupe, u"文本极速去重", u"文本极速去重2(保留空字符)", u"批量去重", u"批量去重2", "d", true, false},
    {F::HtmlToText, u"html到txt", u"html到txt2(保留script、sytle之类代码)", u"批量到txt", u"批量到txt2", "t", true,
     false},
    {F::WordToText, u"Word到TXT文本(仅直接处理文件)", u"TXT文本到Word(仅直接处理文件)", u"批量到TXT", u"批量到DOC",
     "w", false, false},
    {F::Md5, u"MD5校验", u"MD5校验2(小写)", u"批量校验", u"批量校验2", "c", true, false},
    {F::Sha1, u"SHA1校验", u"SHA1校验2(小写)", u"批量校验", u"批量校验2", "c", true, false},
    {F::Sha256, u"SHA256校验", u"SHA256校验2(小写)", u"批量校验", u"批量校验2", "c", true, false},
    {F::Pinyin, u"拼音伪原创", u"", u"批量拼音伪原创", u"", "p", true, false},
};

TEST(ActionCaptions, EveryFunctionHasItsCaptionsAndPanels) {
  ASSERT_EQ(std::size(kRows), static_cast<size_t>(kConversionFunctionCount));
  for (const Row& row : kRows) {
    SCOPED_TRACE(FunctionCaption(row.function).ToUtf8());
    const ActionCaptions captions = ActionCaptionsOf(row.function);
    EXPECT_EQ(captions.encode, CWString(row.encode));
    EXPECT_EQ(captions.decode, CWString(row.decode));
    EXPECT_EQ(captions.batchEncode, CWString(row.batchEncode));
    EXPECT_EQ(captions.batchDecode, CWString(row.batchDecode));

    const OptionPanelStates panels = OptionPanelsFor(row.function);
    const std::string shown = std::string(panels.txtPanel ? "t" : "") + (panels.wordTxtPanel ? "w" : "") +
                              (panels.dedupPanel ? "d" : "") + (panels.charFormatPanel ? "c" : "") +
                              (panels.encodeIncludesPanel ? "e" : "") + (panels.pinyinPanel ? "p" : "");
    EXPECT_EQ(shown.empty() ? std::string("-") : shown, row.panels);
    EXPECT_EQ(panels.fileFilterEnabled, row.fileFilter);
    EXPECT_EQ(panels.joinersEnabled, row.joiners);
  }
}

TEST(ActionCaptions, AnEncodeButtonSpansItsPartnerOnlyWhenThePartnerIsSilent) {
  // The window's default size at factor 1: "编码" at 10, "解码" at 618, 558 wide.
  EXPECT_EQ(EncodeButtonWidth(10, 618, 558, true), 1166);
  EXPECT_EQ(EncodeButtonWidth(10, 618, 558, false), 558);
}

}  // namespace
