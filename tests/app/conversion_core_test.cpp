// The conversion core headless: every function in both directions on texts,
// list mode, and the Word messages.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/conversion_core.h"
#include "conversion_fakes.h"
#include "platform/hooks.h"
#include "test_support.h"

using namespace rg_Ombrine_app;
namespace fs = std::filesystem;

namespace {

struct Core : qzu_test::CoreRig {

  CWString Run(const CWString& input) {
    CWString text = input;
    CWString result;
    core.ConvertOne(result, CWString(), 0, 0, text, false);
    return result;
  }
};

struct Case {
  const char* name;
  ConversionFunction function;
  ConversionDirection direction;
  CharFormat format;
  std::u16string input;
  std::u16string expected;
};

using F = ConversionFunction;
constexpr auto E = ConversionDirection::Encode;
constexpr auto D = ConversionDirection::Decode;

TEST(ConversionCore, EveryFunctionInBothDirections) {
  const Case cases[] = {
      {"none", F::None, E, CharFormat::Ansi, u"abc 中", u"abc 中"},
      {"ucs2 encode", F::Ucs2, E, CharFormat::Ansi, u"中a", u"\\u4E2Da"},
      {"ucs2 decode", F::Ucs2, D, CharFormat::Ansi, u"\\u4E2Da", u"中a"},
      {"hex reference encode", F::UnicodeHex, E, CharFormat::Ansi, u"中", u"&#x4E2D;"},
      {"hex reference decode", F::UnicodeHex, D, CharFormat::Ansi, u"&#x4E2D;&amp;", u"中&"},
      {"decimal reference encode", F::UnicodeDecimal, E, CharFormat::Ansi, u"中", u"&#20013;"},
      {"decimal reference decode", F::UnicodeDecimal, D, CharFormat::Ansi, u"&#20013;", u"中"},
      {"url encode in GBK", F::Url, E, CharFormat::Ansi, u"中 a", u"%D6%D0%20a"},
      {"url decode in GBK", F::Url, D, CharFormat::Ansi, u"%D6%D0%20a", u"中 a"},
      {"url-utf8 encode", F::UrlUtf8, E, CharFormat::Ansi, u"中", u"%E4%B8%AD"},
      {"url-utf8 decode", F::UrlUtf8, D, CharFormat::Ansi, u"%E4%B8%AD", u"中"},
      {"hex bytes of UTF-16LE", F::BytesHex, E, CharFormat::Unicode, u"中", u"2D4E"},
      {"hex bytes of UTF-16BE", F::BytesHex, E, CharFormat::UnicodeBe, u"中", u"4E2D"},
      {"hex bytes of UTF-8", F::BytesHex, E, CharFormat::Utf8, u"中", u"E4B8AD"},
      {"hex bytes of GBK", F::BytesHex, E, CharFormat::Ansi, u"中", u"D6D0"},
      {"hex bytes back as UTF-8", F::BytesHex, D, CharFormat::Utf8, u"E4B8AD", u"中"},
      {"hex bytes back as UTF-16BE", F::BytesHex, D, CharFormat::UnicodeBe, u"4E2D", u"中"},
      {"decimal bytes", F::Bytes, E, CharFormat::Utf8, u"ab", u"97,98"},
      {"decimal bytes back", F::Bytes, D, CharFormat::Ansi, u"214,208", u"中"},
      {"base64", F::Base64, E, CharFormat::Utf8, u"abc", u"YWJj"},
      {"base64 back", F::Base64, D, CharFormat::Utf8, u"5Lit\r\n", u"中"},
      {"md5 encode is upper case", F::Md5, E, CharFormat::Ansi, u"abc", u"900150983CD24FB0D6963F7D28E17F72"},
      {"md5 decode is lower case", F::Md5, D, CharFormat::Ansi, u"abc", u"900150983cd24fb0d6963f7d28e17f72"},
      {"sha1", F::Sha1, E, CharFormat::Utf8, u"abc", u"A9993E364706816ABA3E25717850C26C9CD0D89D"},
      {"sha256", F::Sha256, D, CharFormat::Utf8, u"abc",
       u"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"windows breaks", F::BreakWin, E, CharFormat::Ansi, u"a\rb\nc\r\nd", u"a\r\nb\r\nc\r\nd"},
      {"windows breaks: a lone CR is one CR LF", F::BreakWin, D, CharFormat::Ansi, u"a\r", u"a\r\n"},
      {"windows breaks: [rn] is a line break", F::BreakWin, E, CharFormat::Ansi, u"x[rn]y", u"x\r\ny"},
      {"unix breaks", F::BreakUnix, E, CharFormat::Ansi, u"a\r\nb\rc", u"a\nb\nc"},
      {"mac breaks", F::BreakMac, D, CharFormat::Ansi, u"a\r\nb\nc", u"a\rb\rc"},
      {"to traditional", F::Traditional, E, CharFormat::Ansi, u"头发", u"頭發"},
      {"to simplified", F::Traditional, D, CharFormat::Ansi, u"發展", u"发展"},
      {"upper case leaves other letters", F::UpperCase, E, CharFormat::Ansi, u"aä ｂz", u"Aä ｂZ"},
      {"lower case", F::UpperCase, D, CharFormat::Ansi, u"AbC", u"abc"},
      {"dedupe trims and skips empty lines", F::Dedupe, E, CharFormat::Ansi, u"a\r\n b\r\n\r\na\r\nb", u"a\r\nb"},
      {"dedupe decode keeps blanks", F::Dedupe, D, CharFormat::Ansi, u"a\r\n\r\n\r\na", u"a\r\n"},
      {"pinyin", F::Pinyin, E, CharFormat::Ansi, u"中文", u"zhongwen"},
      {"word encode of a text that names no file", F::WordToText, E, CharFormat::Ansi, u"abc",
       WordDocuments::kNotAWordFile},
      {"word decode without a target", F::WordToText, D, CharFormat::Ansi, u"abc", WordDocuments::kNoTargetFile},
  };
  for (const Case& c : cases) {
    Core core;
    core.options.function = c.function;
    core.options.direction = c.direction;
    core.options.charFormat = c.format;
    EXPECT_EQ(core.Run(c.input).ToUtf8(), CWString(c.expected).ToUtf8()) << c.name;
  }
}

TEST(ConversionCore, HtmlToTextLayouts) {
  const std::u16string page =
      u"<html><head><title>t</title></head><body><h1>标题</h1><p>第一段</p>a<br>b<script>x()</script>"
      u"<img src=\"p.png\"></body></html>";
  struct LayoutCase {
    HtmlLayout layout;
    ConversionDirection direction;
    std::u16string expected;
  };
  const LayoutCase cases[] = {
      {HtmlLayout::Typeset, E, u"\u3000\u3000标题\r\n\r\n\u3000\u3000第一段a\r\n\r\n\u3000\u3000b"},
      {HtmlLayout::TypesetImagesP, E,
       u"<p>\u3000\u3000标题</p>\r\n\r\n<p>\u3000\u3000第一段a</p>\r\n\r\n<p>\u3000\u3000b<img src=\"p.png\"></p>"},
  };
  for (const LayoutCase& c : cases) {
    Core core;
    core.options.function = F::HtmlToText;
    core.options.direction = c.direction;
    core.options.htmlLayout = c.layout;
    EXPECT_EQ(core.Run(page).ToUtf8(), CWString(c.expected).ToUtf8()) << static_cast<int>(c.layout);
  }
  Core basic;
  basic.options.function = F::HtmlToText;
  basic.options.direction = D;  // decode keeps the content of script and the like
  const CWString text = basic.Run(page);
  EXPECT_TRUE(text.Contains(u"x()"));
  EXPECT_TRUE(text.Contains(u"</br>") == false);
  EXPECT_TRUE(text.Contains(u"a\r\nb"));
}

TEST(ConversionCore, ListsConvertEachLineAndJoinWithCrLf) {
  qzu_test::TempDir dir;
  qzu_test::WriteFile(dir.path() / "a.txt", {'x', 'y'});
  qzu_test::WriteFile(dir.path() / "b.txt", {0xEF, 0xBB, 0xBF, 0xE4, 0xB8, 0xAD});
  const CWString a = CWString::FromUtf8((dir.path() / "a.txt").string());
  const CWString b = CWString::FromUtf8((dir.path() / "b.txt").string());
  Core core;
  core.options.function = F::Base64;
  core.options.charFormat = CharFormat::Utf8;
  EXPECT_EQ(core.Run(a + u"\r\nabc").ToUtf8(), "eHk=\r\nYWJj");
  EXPECT_EQ(core.Run(a + u"\r\n" + b + u"\r\n").ToUtf8(), "eHk=\r\n5Lit");
  // Every line keeps its place, also after an empty first result.
  qzu_test::WriteFile(dir.path() / "empty.txt", {});
  const CWString empty = CWString::FromUtf8((dir.path() / "empty.txt").string());
  EXPECT_EQ(core.Run(empty + u"\r\nabc\r\n\r\ndef").ToUtf8(), "\r\nYWJj\r\n\r\nZGVm");
  // A first line that names no file: the whole text is converted as it is.
  core.options.function = F::None;
  EXPECT_EQ(core.Run(u"abc\r\n" + a), u"abc\r\n" + a);
  EXPECT_EQ(core.Run(b), CWString(u"中"));  // a text naming a file stands for its content
  EXPECT_EQ(core.converted, 0);            // text mode counts nothing
}

TEST(ConversionCore, RawFormatWorksOnBytes) {
  qzu_test::TempDir dir;
  SetProgramFolder(CWString::FromUtf8(dir.str()));
  Core core;
  core.options.function = F::BytesHex;
  core.options.charFormat = CharFormat::Raw;
  EXPECT_EQ(core.Run(u"中a"), CWString(u"2D4E6100"));  // the text's UTF-16LE bytes
  core.options.function = F::Base64;
  core.options.direction = D;
  const CWString written = core.Run(u"YWJj");
  EXPECT_EQ(written.ToUtf8(), dir.str() + "/解码结果/352441C2.未知扩展名");
  EXPECT_EQ(qzu_test::ReadFile(written.ToUtf8()), (std::vector<uint8_t>{'a', 'b', 'c'}));
}

// A Base64 decode of nothing writes no file, and one of a text holding
// characters outside the alphabet (blanks and line breaks aside) says so
// and decodes nothing.
TEST(ConversionCore, Base64DecodeOfBlankOrForeignTextWritesNothing) {
  qzu_test::TempDir dir;
  SetProgramFolder(CWString::FromUtf8(dir.str()));
  struct Base64Case {
    const char* name;
    CharFormat format;
    std::u16string input;
    std::u16string expected;
    bool message;
  };
  const Base64Case cases[] = {
      {"blank, raw", CharFormat::Raw, u" \r\n\t ", u"", false},
      {"empty, raw", CharFormat::Raw, u"", u"", false},
      {"foreign character, raw", CharFormat::Raw, u"YWJj!", u"", true},
      {"Chinese, raw", CharFormat::Raw, u"中文", u"", true},
      {"Chinese as UTF-8", CharFormat::Utf8, u"YW中Jj", u"", true},
      {"data after the padding", CharFormat::Utf8, u"YQ==YQ==", u"", true},
      {"line breaks and blanks between groups", CharFormat::Utf8, u" YW\r\nJj \r\n", u"abc", false},
      {"padding", CharFormat::Utf8, u"YQ==\r\n", u"a", false},
  };
  for (const Base64Case& c : cases) {
    Core core;
    core.options.function = F::Base64;
    core.options.direction = D;
    core.options.charFormat = c.format;
    EXPECT_EQ(core.Run(c.input), CWString(c.expected)) << c.name;
    EXPECT_EQ(core.host.messages.size(), c.message ? 1u : 0u) << c.name;
    if (c.message) {
      EXPECT_TRUE(core.host.messages[0].Contains(u"Base64")) << c.name;
    }
    EXPECT_FALSE(fs::exists(dir.path() / "解码结果")) << c.name << ": a file was written";
  }

  // A file of a batch that is not Base64 fails without a box and keeps its place.
  qzu_test::Batch b;
  b.options.function = F::Base64;
  b.options.direction = D;
  b.options.charFormat = CharFormat::Raw;
  qzu_test::WriteFileText(b.At("x.txt"), "not base64!");
  EXPECT_EQ(b.Convert(b.At("x.txt")), CWString(u"0"));
  EXPECT_TRUE(b.host.messages.empty());
  EXPECT_EQ(qzu_test::ReadFileText(b.At("x.txt")), "not base64!");
  EXPECT_FALSE(fs::exists(b.At("原文件备份")));
}

TEST(ConversionCore, WordDocumentsThroughTheAutomation) {
  qzu_test::TempDir dir;
  const CWString doc = CWString::FromUtf8((dir.path() / "r.docx").string());
  qzu_test::WriteFile(dir.path() / "r.docx", {'P', 'K', 3, 4});
  Core core;
  core.options.function = F::WordToText;
  core.options.wordLayout = WordLayout::TypesetP;
  core.wordProcessor.documents[doc.ToUtf8()] = u"一\r二";
  EXPECT_EQ(core.Run(doc), CWString(u"<p>\u3000\u3000一</p>\r\n\r\n<p>\u3000\u3000二</p>"));

  CWString text(u"<p>段</p>");
  EXPECT_EQ(core.word.TextToWordFile(text, doc, core.options), CWString(WordDocuments::kSaved));
  EXPECT_EQ(core.wordProcessor.documents[doc.ToUtf8()], CWString(u"\u3000\u3000段"));
  CWString empty;
  EXPECT_EQ(core.word.TextToWordFile(empty, doc, core.options), CWString(WordDocuments::kEmptyText));
  core.wordProcessor.saveFails = true;  // a save that fails is no success
  CWString more(u"x");
  EXPECT_NE(core.word.TextToWordFile(more, doc, core.options), CWString(WordDocuments::kSaved));

  core.wordProcessor.startable = false;
  EXPECT_FALSE(core.word.EnsureWordEngine(core.options));
  ASSERT_EQ(core.host.messages.size(), 1u);
  EXPECT_EQ(core.host.messages[0], CWString(WordDocuments::kEngineFailed));
}

}  // namespace
