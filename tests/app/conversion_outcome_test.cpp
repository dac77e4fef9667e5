// What the conversion core tells its caller beyond "1" and "0": files that
// hold no text and are left alone, characters the target charset lacks, and
// results that are already in place and so are not written again.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/conversion_core.h"
#include "conversion_fakes.h"
#include "test_support.h"

using namespace rg_Ombrine_app;
using qzu_test::Hex;
using qzu_test::ToHex;
namespace fs = std::filesystem;

namespace {

using qzu_test::Batch;

// A picture of one pixel.
const char* kPng =
    "89504E470D0A1A0A0000000D4948445200000001000000010806000000"
    "1F15C4890000000A49444154789C63000100000500010D0A2DB40000000049454E44AE426082";
// "中文" in GBK and in UTF-16LE with its mark.
const char* kGbk = "D6D0CEC4";
const char* kUtf16 = "FFFE2D4E8765";

std::string Bytes(const char* hex) {
  const std::vector<uint8_t> b = Hex(hex);
  return std::string(b.begin(), b.end());
}

// Every entry below `root`, each with its bytes.
std::map<std::string, std::string> TreeOf(const fs::path& root) {
  std::map<std::string, std::string> entries;
  if (!fs::exists(root)) return entries;
  for (const auto& e : fs::recursive_directory_iterator(root))
    entries[fs::relative(e.path(), root).string()] = e.is_regular_file() ? qzu_test::ReadFileText(e.path()) : "/";
  return entries;
}

ino_t InodeOf(const fs::path& p) {
  struct stat st{};
  return ::stat(p.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST(ConversionOutcome, FilesWithoutTextAreLeftAloneAndNotKept) {
  std::string program = qzu_test::ReadFileText("/bin/true");
  struct Case {
    const char* name;
    std::string bytes;
    int inputIndex;  // 0 detect
    bool text;
  } cases[] = {
      {"a picture", Bytes(kPng), 0, false},
      {"a program", program, 0, false},
      {"a program read as UTF-8", program, 2, false},
      // Neither is UTF-16: half a unit at the end; a lone surrogate (DC01) in either order.
      {"control characters without a zero byte", std::string(40, '\x01') + "abc", 0, false},
      {"control characters, no UTF-16 either", std::string(40, '\x01') + "\xDC\x01\x01\xDC", 0, false},
      {"UTF-16 with its zero bytes", Bytes(kUtf16) + Bytes("41000D000A00"), 0, true},
      {"UTF-16 without a mark", Bytes("41004200430044000D000A00"), 0, true},
      // Not detected as UTF-16 (no zero second byte): converted as it is read.
      {"UTF-16 without a mark, beginning with 中", Bytes("2D4E410042000D000A00"), 0, true},
      {"UTF-16BE without a mark, read as UTF-8", Bytes("4E2D004100420043"), 2, true},
      {"UTF-16 of CJK alone, without zero bytes", Bytes("575B267B167F01786C8F62630CFF"), 0, true},
      {"GBK with one stray control character", Bytes(kGbk) + "\x01 line\r\n\f\x1b[0m\t\v\x1a", 0, true},
      {"an empty file", "", 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Batch b;
    b.options.inputCharsetIndex = c.inputIndex;
    b.options.outputCharsetIndex = 2;  // UTF-8
    b.options.saveToNewLocation = false;  // in place: the source would be kept and replaced
    qzu_test::WriteFileText(b.At("f.txt"), c.bytes);
    EXPECT_EQ(b.Convert(b.At("f.txt")), CWString(c.text ? u"1" : u"0"));
    EXPECT_EQ(b.core.SkippedNonText(), !c.text);
    if (c.text) continue;
    EXPECT_EQ(qzu_test::ReadFileText(b.At("f.txt")), c.bytes);
    EXPECT_FALSE(fs::exists(b.At("原文件备份")));
  }
  // Raw bytes are no text to begin with: a digest of a picture is made.
  Batch b;
  b.options.function = ConversionFunction::Md5;
  b.options.charFormat = CharFormat::Raw;
  b.options.saveToNewLocation = true;
  qzu_test::WriteFileText(b.At("p.png"), Bytes(kPng));
  EXPECT_EQ(b.Convert(b.At("p.png")), CWString(u"1"));
  EXPECT_FALSE(b.core.SkippedNonText());
}

TEST(ConversionOutcome, CharactersTheTargetLacksAreCountedAndWrittenAsQuestionMarks) {
  // 😀 𠀀 한 and the lone surrogate have no place in GBK; "?" itself and
  // 中 have. Each replaced character is one "?".
  const std::u16string text = u"中?😀𠀀한\xD800文";
  const std::string utf8 = CWString(text).ToUtf8();
  struct Case {
    const char* name;
    int outputIndex;
    int64_t replaced;
  } cases[] = {{"to ANSI", 1, 4}, {"to UTF-8", 2, 0}, {"to UTF-16", 3, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Batch b;
    b.options.inputCharsetIndex = 3;  // the text as UTF-16, lone surrogate and all
    b.options.outputCharsetIndex = c.outputIndex;
    b.options.saveToNewLocation = true;
    std::string input(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    qzu_test::WriteFileText(b.At("f.txt"), input);
    EXPECT_EQ(b.Convert(b.At("f.txt")), CWString(u"1"));
    EXPECT_EQ(b.core.ReplacedCharacters(), c.replaced);
    if (c.outputIndex == 1) {
      EXPECT_EQ(qzu_test::ReadFileText(b.At("转换结果/f.txt")), Bytes("D6D03F3F3F3F3FCEC4"));
    }
  }
  // The next call starts afresh.
  Batch b;
  b.options.outputCharsetIndex = 1;
  b.options.saveToNewLocation = true;
  qzu_test::WriteFileText(b.At("a.txt"), utf8);
  qzu_test::WriteFileText(b.At("b.txt"), Bytes(kGbk));
  EXPECT_EQ(b.Convert(b.At("a.txt")), CWString(u"1"));
  EXPECT_GT(b.core.ReplacedCharacters(), 0);
  EXPECT_EQ(b.Convert(b.At("b.txt")), CWString(u"1"));
  EXPECT_EQ(b.core.ReplacedCharacters(), 0);
}

TEST(ConversionOutcome, TheAnsiFormsOfTextFunctionsCountWhatTheyReplace) {
  struct Case {
    const char* name;
    ConversionFunction function;
    CharFormat format;
    const char16_t* expected;
    int64_t replaced;
  } cases[] = {
      {"hexadecimal bytes in ANSI", ConversionFunction::BytesHex, CharFormat::Ansi, u"D6D03F", 1},
      {"hexadecimal bytes in UTF-8", ConversionFunction::BytesHex, CharFormat::Utf8, u"E4B8ADF09F9880", 0},
      {"URL in the system code page", ConversionFunction::Url, CharFormat::Ansi, u"%D6%D0?", 1},
      {"URL in UTF-8", ConversionFunction::UrlUtf8, CharFormat::Ansi, u"%E4%B8%AD%F0%9F%98%80", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    qzu_test::CoreRig rig;
    rig.options.function = c.function;
    rig.options.charFormat = c.format;
    CWString text(u"中😀"), result;
    rig.core.ConvertOne(result, CWString(), 0, 0, text, false);
    EXPECT_EQ(result, CWString(c.expected));
    EXPECT_EQ(rig.core.ReplacedCharacters(), c.replaced);
  }
}

// A batch run again over its own results finds each already in place: it
// writes nothing and keeps nothing, and counts the file as converted. An
// option that changes the result converts and keeps as before.
TEST(ConversionOutcome, AResultAlreadyInPlaceIsNeitherWrittenNorKept) {
  for (const bool inPlace : {true, false}) {
    SCOPED_TRACE(inPlace ? "in place" : "into the result tree");
    Batch b;
    b.options.outputCharsetIndex = 2;
    b.options.saveToNewLocation = !inPlace;
    qzu_test::WriteFileText(b.At("d/x.txt"), Bytes(kGbk));
    const fs::path result = inPlace ? b.At("d/x.txt") : b.At("转换结果/d/x.txt");
    EXPECT_EQ(b.Convert(b.At("d/x.txt")), CWString(u"1"));
    const auto backups = TreeOf(b.At("原文件备份"));
    const ino_t written = InodeOf(result);
    for (int run = 2; run <= 3; ++run) {
      EXPECT_EQ(b.Convert(b.At("d/x.txt")), CWString(u"1")) << run;
      EXPECT_EQ(TreeOf(b.At("原文件备份")), backups) << run;
      EXPECT_EQ(InodeOf(result), written) << "the result was written again, run " << run;
    }
    EXPECT_EQ(b.converted, 3);
    EXPECT_EQ(ToHex(qzu_test::ReadFile(result)), ToHex(Hex(std::string("EFBBBF") + "E4B8ADE69687")));

    // UTF-8 to UTF-16: a new result, and the old one kept.
    b.options.outputCharsetIndex = 3;
    EXPECT_EQ(b.Convert(b.At("d/x.txt")), CWString(u"1"));
    EXPECT_EQ(ToHex(qzu_test::ReadFile(result)), ToHex(Hex(kUtf16)));
    EXPECT_EQ(TreeOf(b.At("原文件备份")).size(), backups.size() + (inPlace ? 1 : 3)) << "the UTF-8 result kept";
  }
  // ASCII read as the system code page is already UTF-8 without a mark.
  Batch b;
  b.options.outputCharsetIndex = 2;
  b.options.stripBom = true;
  qzu_test::WriteFileText(b.At("ascii.txt"), "plain\r\n");
  const ino_t before = InodeOf(b.At("ascii.txt"));
  EXPECT_EQ(b.Convert(b.At("ascii.txt")), CWString(u"1"));
  EXPECT_EQ(InodeOf(b.At("ascii.txt")), before);
  EXPECT_FALSE(fs::exists(b.At("原文件备份")));
}

}  // namespace
