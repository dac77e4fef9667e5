// The conversion core in file mode: detection, output charset and mark, the
// result and backup trees, in-place replacement, and files it must not touch.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/conversion_core.h"
#include "conversion_fakes.h"
#include "test_support.h"

using namespace rg_Ombrine_app;
using qzu_test::Hex;
using qzu_test::ToHex;
namespace fs = std::filesystem;

namespace {

using qzu_test::Batch;

// "中文" in each charset, as read back after conversion.
const char* kGbk = "D6D0 CEC4";
const char* kUtf8 = "E4B8AD E69687";
const char* kUtf16Le = "2D4E 8765";
const char* kUtf16Be = "4E2D 6587";

TEST(ConversionFiles, DetectsTheInputAndWritesTheOutputCharsetWithOrWithoutMark) {
  struct Case {
    const char* name;
    std::string input;
    int outputIndex;
    bool stripBom;
    std::string expected;
  };
  const Case cases[] = {
      {"GBK to UTF-8 with mark", kGbk, 2, false, std::string("EFBBBF") + kUtf8},
      {"GBK to UTF-8 without mark", kGbk, 2, true, kUtf8},
      {"UTF-8 with mark to ANSI", std::string("EFBBBF") + kUtf8, 1, false, kGbk},
      {"UTF-8 without mark to UTF-16", kUtf8, 3, false, std::string("FFFE") + kUtf16Le},
      {"UTF-16LE to UTF-16BE", std::string("FFFE") + kUtf16Le, 4, false, std::string("FEFF") + kUtf16Be},
      {"UTF-16BE to UTF-8", std::string("FEFF") + kUtf16Be, 2, true, kUtf8},
      {"detected GBK written back as detected", kGbk, 0, false, kGbk},
      {"detected UTF-8 written back with its mark", kUtf8, 0, false, std::string("EFBBBF") + kUtf8},
  };
  for (const Case& c : cases) {
    Batch b;
    b.options.outputCharsetIndex = c.outputIndex;
    b.options.stripBom = c.stripBom;
    b.options.saveToNewLocation = true;
    qzu_test::WriteFile(b.At("in.txt"), Hex(c.input));
    EXPECT_EQ(b.Convert(b.At("in.txt")), CWString(u"1")) << c.name;
    EXPECT_EQ(ToHex(qzu_test::ReadFile(b.At("转换结果/in.txt"))), ToHex(Hex(c.expected))) << c.name;
    EXPECT_EQ(ToHex(qzu_test::ReadFile(b.At("in.txt"))), ToHex(Hex(c.input))) << c.name;  // source untouched
  }
}

TEST(ConversionFiles, ResultsAndBackupsKeepTheRelativePaths) {
  Batch b;
  b.options.outputCharsetIndex = 2;
  b.options.saveToNewLocation = true;
  b.options.deleteOriginal = true;
  qzu_test::WriteFile(b.At("a/b/x.txt"), Hex(kGbk));
  EXPECT_EQ(b.Convert(b.At("a/b/x.txt")), CWString(u"1"));
  EXPECT_TRUE(fs::exists(b.At("转换结果/a/b/x.txt")));
  EXPECT_EQ(ToHex(qzu_test::ReadFile(b.At("原文件备份/a/b/x.txt"))), ToHex(Hex(kGbk)));
  EXPECT_FALSE(fs::exists(b.At("a/b/x.txt")));
  EXPECT_EQ(b.converted, 1);
  ASSERT_EQ(b.host.hints.size(), 1u);
  EXPECT_EQ(b.host.hints[0], CWString(u"(3/1) 已转换 1 个 x"));
}

TEST(ConversionFiles, InPlaceReplacementKeepsABackupFirst) {
  Batch b;
  b.options.outputCharsetIndex = 2;
  b.options.stripBom = true;
  qzu_test::WriteFile(b.At("x.txt"), Hex(kGbk));
  EXPECT_EQ(b.Convert(b.At("x.txt")), CWString(u"1"));
  EXPECT_EQ(ToHex(qzu_test::ReadFile(b.At("x.txt"))), ToHex(Hex(kUtf8)));
  EXPECT_EQ(ToHex(qzu_test::ReadFile(b.At("原文件备份/x.txt"))), ToHex(Hex(kGbk)));
}

TEST(ConversionFiles, ConvertedFileNamesAreWrittenBesideTheSource) {
  Batch b;
  b.options.function = ConversionFunction::Traditional;
  b.options.convertFileNames = true;
  qzu_test::WriteFile(b.At("头发.txt"), Hex(kUtf8));
  EXPECT_EQ(b.Convert(b.At("头发.txt")), CWString(u"1"));
  EXPECT_TRUE(fs::exists(b.At("頭發.txt")));
  EXPECT_TRUE(fs::exists(b.At("头发.txt")));  // the names differ: the source stays
  EXPECT_FALSE(fs::exists(b.At("原文件备份")));
}

TEST(ConversionFiles, OutputNamesOfTheHtmlAndWordFunctions) {
  struct Case {
    ConversionFunction function;
    ConversionDirection direction;
    HtmlLayout html;
    const char16_t* extension;
    WordLayout word;
    const char* input;
    const char* output;
  };
  const Case cases[] = {
      {ConversionFunction::HtmlToText, ConversionDirection::Encode, HtmlLayout::TypesetImages, u"自动",
       WordLayout::Basic, "a.htm", "a.html"},
      {ConversionFunction::HtmlToText, ConversionDirection::Encode, HtmlLayout::TypesetImagesP, u"自动",
       WordLayout::Basic, "a.htm", "a.html"},
      {ConversionFunction::HtmlToText, ConversionDirection::Encode, HtmlLayout::Typeset, u"自动", WordLayout::Basic,
       "a.htm", "a.txt"},
      {ConversionFunction::HtmlToText, ConversionDirection::Encode, HtmlLayout::TypesetImagesP, u"txt",
       WordLayout::Basic, "a.htm", "a.txt"},
      {ConversionFunction::WordToText, ConversionDirection::Encode, HtmlLayout::Basic, u"自动", WordLayout::TypesetP,
       "report.docx", "report.html"},
      {ConversionFunction::WordToText, ConversionDirection::Encode, HtmlLayout::Basic, u"自动", WordLayout::Typeset,
       "report.docx", "report.txt"},
      {ConversionFunction::WordToText, ConversionDirection::Decode, HtmlLayout::Basic, u"自动", WordLayout::Basic,
       "notes.txt", "notes.docx"},
  };
  for (const Case& c : cases) {
    Batch b;
    b.options.function = c.function;
    b.options.direction = c.direction;
    b.options.htmlLayout = c.html;
    b.options.htmlExtension = c.extension;
    b.options.wordLayout = c.word;
    b.options.saveToNewLocation = true;
    qzu_test::WriteFile(b.At(c.input), {'<', 'p', '>', 'x'});
    b.wordProcessor.documents[CWString::FromUtf8(b.At(c.input).string()).ToUtf8()] = u"x";
    b.Convert(b.At(c.input));
    if (c.direction == ConversionDirection::Encode)
      EXPECT_TRUE(fs::exists(b.At((std::string("转换结果/") + c.output).c_str()))) << c.output;
    else
      EXPECT_EQ(b.wordProcessor.current.ToUtf8(), b.At((std::string("转换结果/") + c.output).c_str()).string());
  }
}

TEST(ConversionFiles, AFileOutsideTheBatchRootGetsItsTreesBesideItself) {
  Batch b;
  qzu_test::TempDir elsewhere;
  b.batchRoot = CWString::FromSystemPath((b.dir.path() / "root").string());
  b.options.outputCharsetIndex = 2;
  b.options.saveToNewLocation = true;
  b.options.deleteOriginal = true;
  const fs::path others[] = {
      // The root's name appears inside the other path, but not as its leading folder.
      elsewhere.path() / "root" / "y.txt",
      // A sibling whose name begins with the root's name.
      b.At("root2/y.txt"),
  };
  for (const fs::path& other : others) {
    qzu_test::WriteFile(other, Hex(kGbk));
    EXPECT_EQ(b.Convert(other), CWString(u"1")) << other;
    EXPECT_TRUE(fs::exists(other.parent_path() / "转换结果" / "y.txt")) << other;
    EXPECT_TRUE(fs::exists(other.parent_path() / "原文件备份" / "y.txt")) << other;
  }
  EXPECT_FALSE(fs::exists(b.At("root")));
}

TEST(ConversionFiles, AnUnreadableInputWritesNothingAndReplacesNothing) {
  Batch b;
  fs::create_directories(b.At("folder.txt"));  // names an entry, but no file can be read from it
  EXPECT_EQ(b.Convert(b.At("folder.txt")), CWString(u"0"));
  EXPECT_FALSE(fs::exists(b.At("原文件备份")));
  EXPECT_TRUE(fs::is_directory(b.At("folder.txt")));
}

// A link in the batch to a file outside it: the user's own is read into the
// result tree (in place a link is never replaced). One that another user put
// there is not read in either mode: it fails, and nothing of the file it
// names reaches the result tree.
TEST(ConversionFiles, AnotherUsersLinkIsNeverReadThrough) {
  struct Case {
    const char* name;
    bool foreign;
    bool newLocation;
    const char* result;
  };
  const Case cases[] = {
      {"own link, to the result tree", false, true, "1"},
      {"own link, in place", false, false, "0"},
      {"another user's link, to the result tree", true, true, "0"},
      {"another user's link, in place", true, false, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    qzu_test::TempDir elsewhere;
    const fs::path outside = elsewhere.path() / "shadow";
    qzu_test::WriteFile(outside, Hex(kGbk));
    Batch b;
    b.options.outputCharsetIndex = 2;
    b.options.stripBom = true;
    b.options.saveToNewLocation = c.newLocation;
    fs::create_symlink(outside, b.At("x.txt"));
    if (c.foreign && ::lchown(b.At("x.txt").c_str(), 12345, 12345) != 0)
      GTEST_SKIP() << "the process may not give files to another user";
    EXPECT_EQ(b.Convert(b.At("x.txt")), CWString::FromUtf8(c.result));
    EXPECT_TRUE(fs::is_symlink(b.At("x.txt")));
    EXPECT_EQ(ToHex(qzu_test::ReadFile(outside)), ToHex(Hex(kGbk)));
    if (std::string(c.result) == "1") {
      EXPECT_EQ(ToHex(qzu_test::ReadFile(b.At("转换结果/x.txt"))), ToHex(Hex(kUtf8)));
    } else {
      EXPECT_FALSE(fs::exists(b.At("转换结果")));
      EXPECT_FALSE(fs::exists(b.At("原文件备份")));
    }
  }
}

TEST(ConversionFiles, RawDecodeWritesTheBytesAsTheyAre) {
  Batch b;
  b.options.function = ConversionFunction::Base64;
  b.options.direction = ConversionDirection::Decode;
  b.options.charFormat = CharFormat::Raw;
  b.options.saveToNewLocation = true;
  qzu_test::WriteFile(b.At("p.b64"), {'/', '/', '4', '='});
  EXPECT_EQ(b.Convert(b.At("p.b64")), CWString(u"1"));
  EXPECT_EQ(ToHex(qzu_test::ReadFile(b.At("转换结果/p.b64"))), "FF FE");
}

}  // namespace
