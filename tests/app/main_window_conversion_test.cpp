// The main window's single conversions, clicked offscreen: the options read
// from the controls, encode and decode through the core into the result
// editor with the busy caption while they run, a click beside a running
// batch, paste, copy and swap, and the html previews of the two editors.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "main_window_settings_fixture.h"
#include "platform/hooks.h"

using namespace rg_Ombrine_app;

namespace qzu_test {
namespace {

using F = ConversionFunction;

TEST_F(MainWindowWithSettings, EachControlFillsItsField) {
  const ConversionOptions first = OpenWithSettings().FillConversionOptions();
  Discard();
  // A first start: nothing chosen, raw bytes, line breaks and joiners
  // escaped, the basic layouts, "txt", duplicates removed from line 1 on,
  // capitalised pinyin of 5%, results saved in the new place.
  EXPECT_EQ(Describe(first),
            "function 0 direction 0 charsets 0/0 format 0 escapes 011 html 0 \"txt\" word 0 dedup 0 \"\" \"\" \"1\" "
            "pinyin 100 \"汉字[拼音]\" \"5%\" batch \"*.htm|*.html|*.txt\" 00010");

  struct Row {
    const char* name;
    std::function<void(Window&)> change;
    std::function<void(ConversionOptions&)> expect;  // the first start's record, changed
  };
  const Row rows[] = {
      {"toggle", [](Window& w) { Click(w.Sha1Toggle); }, [](ConversionOptions& o) { o.function = F::Sha1; }},
      {"direction", [](Window& w) { w.Direction = 1; },
       [](ConversionOptions& o) { o.direction = ConversionDirection::Decode; }},
      {"input charset", [](Window& w) { w.InputCharsetList.SelectDropDownItem(3); },
       [](ConversionOptions& o) { o.inputCharsetIndex = 3; }},
      {"no input charset", [](Window& w) { w.InputCharsetList.SelectDropDownItem(7); },
       [](ConversionOptions& o) { o.inputCharsetIndex = -1; }},
      {"output charset", [](Window& w) { w.OutputCharsetList.SelectDropDownItem(4); },
       [](ConversionOptions& o) { o.outputCharsetIndex = 4; }},
      {"no output charset", [](Window& w) { w.OutputCharsetList.SelectDropDownItem(-1); },
       [](ConversionOptions& o) { o.outputCharsetIndex = -1; }},
      {"ANSI", [](Window& w) { w.AnsiRadio.SetChecked(true); },
       [](ConversionOptions& o) { o.charFormat = CharFormat::Ansi; }},
      {"UTF-8", [](Window& w) { w.Utf8Radio.SetChecked(true); },
       [](ConversionOptions& o) { o.charFormat = CharFormat::Utf8; }},
      {"Unicode", [](Window& w) { w.UnicodeRadio.SetChecked(true); },
       [](ConversionOptions& o) { o.charFormat = CharFormat::Unicode; }},
      {"Ube", [](Window& w) { w.UbeRadio.SetChecked(true); },
       [](ConversionOptions& o) { o.charFormat = CharFormat::UnicodeBe; }},
      // A settings file may leave every radio of a group unchecked.
      {"no format radio", [](Window& w) { w.RawRadio.SetChecked(false); }, [](ConversionOptions&) {}},
      {"ASCII", [](Window& w) { w.AsciiCheck.SetChecked(true); }, [](ConversionOptions& o) { o.escapeAscii = true; }},
      {"line breaks", [](Window& w) { w.LineBreaksCheck.SetChecked(false); },
       [](ConversionOptions& o) { o.escapeLineBreaks = false; }},
      {"joiners", [](Window& w) { w.JoinersCheck.SetChecked(false); },
       [](ConversionOptions& o) { o.escapeJoiners = false; }},
      {"html typeset", [](Window& w) { w.HtmlTypesetRadio.SetChecked(true); },
       [](ConversionOptions& o) { o.htmlLayout = HtmlLayout::Typeset; }},
      {"html with images", [](Window& w) { w.HtmlTypesetImagesRadio.SetChecked(true); },
       [](ConversionOptions& o) { o.htmlLayout = HtmlLayout::TypesetImages; }},
      {"html with images and <P>", [](Window& w) { w.HtmlTypesetImagesPRadio.SetChecked(true); },
       [](ConversionOptions& o) { o.htmlLayout = HtmlLayout::TypesetImagesP; }},
      {"typed extension", [](Window& w) { w.TxtExtensionList.SetDropDownValue(u"htm"); },
       [](ConversionOptions& o) { o.htmlExtension = u"htm"; }},
      {"word typeset", [](Window& w) { w.WordTypesetRadio.SetChecked(true); },
       [](ConversionOptions& o) { o.wordLayout = WordLayout::Typeset; }},
      {"word typeset with <P>", [](Window& w) { w.WordTypesetPRadio.SetChecked(true); },
       [](ConversionOptions& o) { o.wordLayout = WordLayout::TypesetP; }},
      {"keep unique", [](Window& w) { w.KeepUniqueRadio.SetChecked(true); },
       [](ConversionOptions& o) { o.dedupMode = DedupMode::KeepUnique; }},
      {"keep duplicated", [](Window& w) { w.KeepDuplicatedRadio.SetChecked(true); },
       [](ConversionOptions& o) { o.dedupMode = DedupMode::KeepDuplicated; }},
      {"separators and index",
       [](Window& w) {
         w.SeparatorEdit.SetText(u"，");
         w.SubSeparatorEdit.SetText(u"|");
         w.SubIndexEdit.SetText(u"2");
       },
       [](ConversionOptions& o) {
         o.dedupSeparator = u"，";
         o.dedupSubSeparator = u"|";
         o.dedupSubIndex = u"2";
       }},
      {"pinyin checks",
       [](Window& w) {
         w.CapitalizeCheck.SetButtonChecked(0);
         w.ToneCheck.SetButtonChecked(1);
         w.ReplaceFormatCheck.SetButtonChecked(1);
       },
       [](ConversionOptions& o) {
         o.pinyinCapitalize = false;
         o.pinyinTone = true;
         o.pinyinReplaceFormat = true;
       }},
      {"pinyin format and share",
       [](Window& w) {
         w.PinyinFormatEdit.SetText(u"拼音");
         w.PinyinRatioList.SelectDropDownItem(6);
       },
       [](ConversionOptions& o) {
         o.pinyinFormat = u"拼音";
         o.pinyinPercent = u"100%";
       }},
      {"filter", [](Window& w) { w.FileFilterEdit.SetText(u"*.md"); },
       [](ConversionOptions& o) { o.fileFilter = u"*.md"; }},
      {"batch checks",
       [](Window& w) {
         for (Window::OptionCheck* c : {&w.WalkSubfoldersCheck, &w.StripBomCheck, &w.DeleteOriginalCheck,
                                        &w.SaveToNewLocationCheck, &w.ConvertFileNamesCheck})
           c->SetButtonChecked(c->checked ? 0 : 1);
       },
       [](ConversionOptions& o) {
         o.walkSubfolders = o.stripBom = o.deleteOriginal = o.convertFileNames = true;
         o.saveToNewLocation = false;
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Window& window = OpenWithSettings();
    row.change(window);
    ConversionOptions expected = first;
    row.expect(expected);
    EXPECT_EQ(Describe(window.FillConversionOptions()), Describe(expected));
    Discard();
  }
}

TEST_F(MainWindowWithSettings, EncodeAndDecodeThroughTheButtons) {
  struct Row {
    const char* name;
    Window::Button& (*toggle)(Window&);
    std::function<void(Window&)> options;
    bool decode;
    std::u16string input, expected;
  };
  const auto none = [](Window&) {};
  const Row rows[] = {
      {"no function copies", [](Window& w) -> Window::Button& { return w.NoneToggle; }, none, false, u"abc 中",
       u"abc 中"},
      {"ucs2, line breaks escaped", [](Window& w) -> Window::Button& { return w.Ucs2Toggle; }, none, false, u"中a\r\n",
       u"\\u4E2Da\\n"},
      {"ucs2 with ASCII, breaks kept", [](Window& w) -> Window::Button& { return w.Ucs2Toggle; },
       [](Window& w) {
         w.AsciiCheck.SetChecked(true);
         w.LineBreaksCheck.SetChecked(false);
       },
       false, u"中a\r\n", u"\\u4E2D\\u0061\r\n"},
      {"ucs2 decode", [](Window& w) -> Window::Button& { return w.Ucs2Toggle; }, none, true, u"\\u4E2Da", u"中a"},
      {"url in GBK", [](Window& w) -> Window::Button& { return w.UrlToggle; }, none, false, u"中 a&", u"%D6%D0%20a%26"},
      {"url-utf8 without joiners", [](Window& w) -> Window::Button& { return w.UrlUtf8Toggle; },
       [](Window& w) { w.JoinersCheck.SetChecked(false); }, false, u"中&", u"%E4%B8%AD&"},
      {"url decode", [](Window& w) -> Window::Button& { return w.UrlToggle; }, none, true, u"%D6%D0%20a", u"中 a"},
      {"base64 of UTF-8", [](Window& w) -> Window::Button& { return w.Base64Toggle; },
       [](Window& w) { w.Utf8Radio.SetChecked(true); }, false, u"中", u"5Lit"},
      {"base64 of UTF-16BE", [](Window& w) -> Window::Button& { return w.Base64Toggle; },
       [](Window& w) { w.UbeRadio.SetChecked(true); }, false, u"中", u"Ti0="},
      {"base64 decode", [](Window& w) -> Window::Button& { return w.Base64Toggle; },
       [](Window& w) { w.Utf8Radio.SetChecked(true); }, true, u"5Lit", u"中"},
      {"to traditional", [](Window& w) -> Window::Button& { return w.TraditionalToggle; }, none, false, u"头发",
       u"頭發"},
      {"to simplified", [](Window& w) -> Window::Button& { return w.TraditionalToggle; }, none, true, u"發展", u"发展"},
      {"dedupe", [](Window& w) -> Window::Button& { return w.DedupeToggle; }, none, false, u"a\r\n b\r\n\r\na\r\nb",
       u"a\r\nb"},
      {"dedupe decode keeps blank lines", [](Window& w) -> Window::Button& { return w.DedupeToggle; }, none, true,
       u"a\r\n\r\n\r\na", u"a\r\n"},
      {"dedupe keeps the repeated, comma records", [](Window& w) -> Window::Button& { return w.DedupeToggle; },
       [](Window& w) {
         w.KeepDuplicatedRadio.SetChecked(true);
         w.SeparatorEdit.SetText(u",");
       },
       false, u"a,b,a,c", u"a"},
      {"dedupe by the second field, unique only", [](Window& w) -> Window::Button& { return w.DedupeToggle; },
       [](Window& w) {
         w.KeepUniqueRadio.SetChecked(true);
         w.SubSeparatorEdit.SetText(u",");
         w.SubIndexEdit.SetText(u"2");
       },
       false, u"x,1\r\ny,1\r\nz,2", u"z,2"},
      {"pinyin, all characters, capitalised", [](Window& w) -> Window::Button& { return w.PinyinToggle; },
       [](Window& w) { w.PinyinRatioList.SelectDropDownItem(6); }, false, u"中文", u"ZhongWen"},
      {"pinyin with tones in a template", [](Window& w) -> Window::Button& { return w.PinyinToggle; },
       [](Window& w) {
         w.PinyinRatioList.SelectDropDownItem(6);
         Click(w.CapitalizeCheck);
         Click(w.ToneCheck);
         Click(w.ReplaceFormatCheck);
       },
       false, u"中国a", u"中[zhōng]国[guó]a"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Window& w = OpenWithSettings();
    Window::Button& toggle = row.toggle(w);
    Click(toggle);
    ASSERT_EQ(toggle.checked, 1);
    row.options(w);
    const CWString idleCaption = (row.decode ? w.DecodeButton : w.EncodeButton).GetButtonText();
    w.InputEditor.SetCodeEditText(row.input);
    runHooks.captionsDuringPumps.clear();
    Click(row.decode ? w.DecodeButton : w.EncodeButton);
    EXPECT_EQ(w.ResultEditor.GetCodeEditText().ToUtf8(), CWString(row.expected).ToUtf8());
    EXPECT_EQ(w.Direction, row.decode ? 1 : 0);
    // Busy while the core ran, the function's caption again afterwards.
    const CWString busy = row.decode ? w.EncodeButton.GetButtonText() + u"|正在处理.."
                                     : CWString(u"正在处理..|") + w.DecodeButton.GetButtonText();
    const auto& seen = runHooks.captionsDuringPumps;
    EXPECT_NE(std::find(seen.begin(), seen.end(), busy), seen.end()) << busy.ToUtf8();
    EXPECT_EQ((row.decode ? w.DecodeButton : w.EncodeButton).GetButtonText().ToUtf8(), idleCaption.ToUtf8());
    EXPECT_EQ(w.InputEditor.GetCodeEditText().ToUtf8(), CWString(row.input).ToUtf8());
    Discard();
  }
}

TEST_F(MainWindowWithSettings, AnInputThatNamesAFileIsReadInTheInputCharset) {
  struct Row {
    const char* name;
    std::vector<uint8_t> bytes;
    int inputCharset;  // position in "输入编码"
    bool ucs2;         // else no function
    std::u16string expected;
  };
  const Row rows[] = {
      {"detected UTF-8 with its mark", {0xEF, 0xBB, 0xBF, 0xE4, 0xB8, 0xAD, 'a'}, 0, true, u"\\u4E2Da"},
      {"ANSI", {0xD6, 0xD0, 0xCE, 0xC4}, 1, false, u"中文"},
      {"Unicode without a mark", {0x2D, 0x4E, 'a', 0}, 3, false, u"中a"},
      {"Unicode BE without a mark", {0x4E, 0x2D, 0, 'a'}, 4, false, u"中a"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Window& w = OpenWithSettings();
    const auto file = folder.path() / "in.txt";
    qzu_test::WriteFile(file, row.bytes);
    if (row.ucs2) Click(w.Ucs2Toggle);
    w.InputCharsetList.SelectDropDownItem(row.inputCharset);
    w.InputEditor.SetCodeEditText(CWString::FromSystemPath(file.string()));
    Click(w.EncodeButton);
    EXPECT_EQ(w.ResultEditor.GetCodeEditText().ToUtf8(), CWString(row.expected).ToUtf8());
    Discard();
  }
}

TEST_F(MainWindowWithSettings, AClickBesideARunningBatchKeepsTheBatchsDirectionAndCaptions) {
  Window& w = OpenWithSettings();
  Click(w.Ucs2Toggle);
  // A batch encode is running: it set the direction and its stop caption.
  w.BatchRunning = true;
  w.Direction = 0;
  w.BatchEncodeButton.SetButtonText(u"停止批量操作");
  w.InputEditor.SetCodeEditText(u"\\u4E2D");
  Click(w.DecodeButton);
  EXPECT_EQ(w.ResultEditor.GetCodeEditText().ToUtf8(), "中");
  EXPECT_EQ(w.Direction, 0);
  EXPECT_EQ(w.DecodeButton.GetButtonText().ToUtf8(), "UCS2解码");
  EXPECT_EQ(w.BatchEncodeButton.GetButtonText().ToUtf8(), "停止批量操作");
  EXPECT_EQ(w.BatchDecodeButton.GetButtonText().ToUtf8(), "批量解码");

  // Once it has ended, the side clicked is the window's direction again.
  w.BatchRunning = false;
  Click(w.DecodeButton);
  EXPECT_EQ(w.Direction, 1);
}

TEST_F(MainWindowWithSettings, PasteCopyAndSwap) {
  Window& w = OpenWithSettings();
  ASSERT_TRUE(SetClipboardText(u"剪贴板\r\n第二行"));
  Click(w.PasteButton);
  EXPECT_EQ(w.InputEditor.GetCodeEditText().ToUtf8(), "剪贴板\r\n第二行");

  w.ResultEditor.SetCodeEditText(u"结果 result");
  Click(w.CopyButton);
  EXPECT_EQ(GetClipboardText().ToUtf8(), "结果 result");

  Click(w.SwapButton);
  EXPECT_EQ(w.InputEditor.GetCodeEditText().ToUtf8(), "结果 result");
  EXPECT_EQ(w.ResultEditor.GetCodeEditText().ToUtf8(), "剪贴板\r\n第二行");

  w.InputEditor.SetCodeEditText(u"");
  w.ResultEditor.SetCodeEditText(u"");
  Click(w.SwapButton);
  EXPECT_TRUE(w.InputEditor.GetCodeEditText().IsEmpty());
  EXPECT_TRUE(w.ResultEditor.GetCodeEditText().IsEmpty());
  // Neither changes the chosen function or the direction.
  EXPECT_EQ(w.SelectedFunction(), F::None);
  EXPECT_EQ(w.Direction, 0);
}

TEST_F(MainWindowWithSettings, EachEditorsCaptionWritesItsTextAsUtf8AndOpensIt) {
  Window& w = OpenWithSettings();
  const auto inputFile = folder.path() / std::filesystem::u8path("待转换内容.html");
  const auto resultFile = folder.path() / std::filesystem::u8path("转换结果.html");
  qzu_test::WriteFileText(resultFile, "an older, longer preview");

  w.InputEditor.SetCodeEditText(u"<b>中文</b>\r\n");
  Click(w.InputCaption);
  EXPECT_EQ(qzu_test::ReadFileText(inputFile), "<b>\xE4\xB8\xAD\xE6\x96\x87</b>\r\n");  // no mark
  ASSERT_EQ(runHooks.opened.size(), 1u);
  EXPECT_EQ(runHooks.opened[0].ToSystemPath(), inputFile.string());

  // An empty editor gives an empty file, replacing the older one.
  Click(w.ResultCaption);
  EXPECT_EQ(qzu_test::ReadFileText(resultFile), "");
  ASSERT_EQ(runHooks.opened.size(), 2u);
  EXPECT_EQ(runHooks.opened[1].ToSystemPath(), resultFile.string());

  // The batch heading previews nothing (pressed on its caption, clear of
  // the batch controls).
  Click(w.BatchGroup, QPoint(30, 12));
  EXPECT_EQ(runHooks.opened.size(), 2u);

  // A desktop that cannot open it: the path goes to the clipboard with a message.
  runHooks.openSucceeds = false;
  Click(w.InputCaption);
  EXPECT_EQ(GetClipboardText().ToSystemPath(), inputFile.string());
  EXPECT_EQ(runHooks.boxes.size(), 1u);
}

TEST_F(MainWindowWithSettings, AFileThatCannotBeReplacedIsNotOpened) {
  Window& w = OpenWithSettings();
  // A folder where the preview file should be.
  std::filesystem::create_directory(folder.path() / std::filesystem::u8path("转换结果.html"));
  w.ResultEditor.SetCodeEditText(u"x");
  Click(w.ResultCaption);
  EXPECT_TRUE(runHooks.opened.empty());
  EXPECT_TRUE(runHooks.boxes.empty());
}

}  // namespace
}  // namespace qzu_test
