// The conversion core headless: every function in both directions on texts,
// list mode, and the Word messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>

#include "app/conversion_core.h"
#include "app/conversion_core_non_text.h"
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

// Files named in the input box are read and converted as text; one that
// holds no text is refused as a batch skips it, and nothing is written.
TEST(ConversionCore, AFileInTheInputBoxThatHoldsNoTextIsRefused) {
  const std::string program = qzu_test::ReadFileText("/bin/true");
  struct Case {
    const char* name;
    std::string bytes;
    int inputIndex;  // 0 detect, 3 UTF-16
    F function;
    bool text;
  } cases[] = {
      {"a program", program, 0, F::None, false},
      {"a program, to upper case", program, 0, F::UpperCase, false},
      {"control characters read as UTF-16", std::string(40, '\x01') + std::string(40, '\0'), 3, F::None, false},
      {"GBK text", "\xD6\xD0\xCE\xC4 ab\r\n", 0, F::None, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    qzu_test::Batch b;
    b.options.inputCharsetIndex = c.inputIndex;
    b.options.outputCharsetIndex = 2;
    b.options.function = c.function;
    const fs::path file = b.At("in.bin");
    qzu_test::WriteFileText(file, c.bytes);
    CWString text = CWString::FromSystemPath(file.string()), result;
    b.core.ConvertOne(result, CWString(), 0, 0, text, false);
    EXPECT_EQ(b.core.SkippedNonText(), !c.text);
    EXPECT_EQ(result.IsEmpty(), !c.text) << result.ToUtf8();
    EXPECT_EQ(std::distance(fs::directory_iterator(b.dir.path()), fs::directory_iterator()), 1);
    EXPECT_EQ(qzu_test::ReadFileText(file), c.bytes);
  }
}

// A log with terminal colours holds ESC bytes, more than one in a hundred,
// and an odd number of bytes (no UTF-16 reading): it is still text.
TEST(ConversionCore, ALogWithTerminalColoursIsConverted) {
  qzu_test::Batch b;
  b.options.inputCharsetIndex = 1;   // GBK
  b.options.outputCharsetIndex = 2;  // UTF-8
  b.options.saveToNewLocation = true;
  const std::string log =
      "\x1b[32mOK\x1b[0m \xD6\xD0\n\x1b[1;31mERR\x1b[0m \xCE\xC4\n\x1b[33mWARN\x1b[0m x\n";
  ASSERT_EQ(log.size() % 2, 1u);
  qzu_test::WriteFileText(b.At("run.log"), log);
  EXPECT_EQ(b.Convert(b.At("run.log")), CWString(u"1"));
  EXPECT_FALSE(b.core.SkippedNonText());
  EXPECT_EQ(qzu_test::ReadFileText(b.At("转换结果/run.log")),
            "\xEF\xBB\xBF\x1b[32mOK\x1b[0m 中\n\x1b[1;31mERR\x1b[0m 文\n\x1b[33mWARN\x1b[0m x\n");
}

// A text longer than one piece of the encoder, whose only character GBK
// lacks stands in the first piece, counts one replaced character, however
// many pieces follow.
TEST(ConversionCore, ACharacterTheCodePageLacksIsCountedOnceAcrossPieces) {
  for (const size_t at : {size_t{0}, size_t{70000}}) {
    SCOPED_TRACE(at);
    qzu_test::Batch b;
    b.options.inputCharsetIndex = 3;   // UTF-16
    b.options.outputCharsetIndex = 1;  // GBK
    b.options.saveToNewLocation = true;
    std::u16string text(200000, u'中');
    for (size_t i = 100; i < text.size(); i += 100) text[i] = u'\n';
    text[at + 1] = u'한';  // not in GBK
    qzu_test::WriteFileText(b.At("f.txt"), std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
    EXPECT_EQ(b.Convert(b.At("f.txt")), CWString(u"1"));
    EXPECT_EQ(b.core.ReplacedCharacters(), 1);
    const std::string out = qzu_test::ReadFileText(b.At("转换结果/f.txt"));
    EXPECT_EQ(out.substr(2 * (at + 1) - at / 100, 1), "?");  // each line break one byte
  }
}

// The check for text counts in blocks of vectors: the verdict flips at the
// same count wherever the control characters and zero bytes stand, in a
// vector, across blocks, or in the tail after the last whole vector.
TEST(ConversionCore, TheCheckForTextCountsEveryByteAndUnit) {
  // Odd sizes: many control bytes in an even number are UTF-16 CJK text.
  for (const size_t size : {size_t{301}, size_t{4079}, size_t{4081}, size_t{4097}, size_t{8161}, size_t{12347}}) {
    SCOPED_TRACE(size);
    const size_t allowed = std::max<size_t>(2, size / 100);  // more is no text
    for (const size_t stride : {size_t{1}, size_t{7}, size / allowed}) {
      SCOPED_TRACE(stride);
      std::string bytes(size, 'a');
      std::u16string units(size, u'中');
      // From the end backwards, so the tail and the last block get theirs.
      for (size_t i = 0; i < allowed; ++i) bytes[size - 1 - i * stride] = '\x01', units[size - 1 - i * stride] = u'\x7F';
      EXPECT_FALSE(BytesHoldNoText(bytes));
      EXPECT_FALSE(UnitsHoldNoText(units));
      std::string withText = bytes;
      std::replace(withText.begin(), withText.end(), 'a', '\x1b');  // ESC is text
      EXPECT_FALSE(BytesHoldNoText(withText));
      bytes[0] = '\x1f';
      units[0] = u'\x1f';
      EXPECT_TRUE(BytesHoldNoText(bytes));
      EXPECT_TRUE(UnitsHoldNoText(units));
    }
    // Zero bytes on both sides, the second in the last two bytes.
    std::string zeros(size & ~size_t{1}, 'a');
    zeros[1] = '\0';
    EXPECT_FALSE(BytesHoldNoText(zeros));  // "a" in UTF-16LE, and so on
    zeros[zeros.size() - 2] = '\0';
    EXPECT_TRUE(BytesHoldNoText(zeros));
  }
}

// The check counted while a file is read, piece by piece, gives the verdicts
// of the whole buffer, whatever the pieces and the mark.
TEST(ConversionCore, TheCheckCountedWhileReadingAgreesWithTheWholeBuffer) {
  const auto utf16le = [](const std::u16string& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  };
  std::vector<std::string> samples;
  for (const size_t size : {size_t{301}, size_t{4097}, size_t{70001}}) {
    std::string text(size, 'a');
    const size_t allowed = std::max<size_t>(2, size / 100);
    for (size_t i = 0; i < allowed; ++i) text[size - 1 - i * 7] = '\x01';
    samples.push_back(text);          // controls at the limit: text
    text[size / 2] = '\x02';
    samples.push_back(text);          // one more: no text
    samples.push_back(utf16le(std::u16string(size, u'a')));  // zero bytes on one side: UTF-16 text
    std::string zeros = utf16le(std::u16string(size, u'a'));
    zeros[zeros.size() - 2] = '\0';   // and one on the other side, in the last unit
    samples.push_back(zeros);
    samples.push_back(utf16le(std::u16string(size, u'\x01')));  // controls as UTF-16: no text
    samples.push_back(utf16le(std::u16string(size, u'中')));     // CJK as UTF-16: text
  }
  for (const std::string& sample : samples) {
    for (const std::string& mark : {std::string(), std::string("\xFF\xFE"), std::string("\xEF\xBB\xBF")}) {
      const CQzuMem file((mark + sample).data(), mark.size() + sample.size());  // aligned, as read
      const std::string_view bytes = file.View();
      for (const size_t piece : {size_t{1}, size_t{31}, size_t{4096}, size_t{65536}}) {
        SCOPED_TRACE(testing::Message() << sample.size() << " bytes, mark " << mark.size() << ", pieces of " << piece);
        NonTextByteCounter byteCounter;
        NonTextUnitCounter unitCounter;
        for (size_t n = std::min(piece, bytes.size());; n = std::min(n + piece, bytes.size())) {
          byteCounter.Grow(bytes.substr(0, n));
          unitCounter.Grow(bytes.substr(0, n));
          if (n == bytes.size()) break;
        }
        EXPECT_EQ(byteCounter.HoldsNoText(bytes, mark.size()), BytesHoldNoText(bytes.substr(mark.size())));
        if (mark.size() == 3) continue;  // no UTF-16 mark
        ASSERT_TRUE(unitCounter.Finish(bytes));
        const std::u16string_view units(reinterpret_cast<const char16_t*>(bytes.data() + mark.size()),
                                        (bytes.size() - mark.size()) / 2);
        EXPECT_EQ(unitCounter.HoldsNoText(units.size()), UnitsHoldNoText(units));
      }
    }
  }
}

}  // namespace
