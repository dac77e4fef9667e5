// Loading a text file with a detected or given charset: marks, missing files,
// odd tails and the raw buffer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"
#include "textlib/text_file_load.h"

using qzu_test::Hex;
using qzu_test::TempDir;
using qzu_test::ToHex;
using qzu_test::WriteFile;

namespace {

class TextFileLoad : public ::testing::Test {
 protected:
  CWString Write(const std::string& name, const std::string& hex) {
    const auto path = dir.path() / name;
    WriteFile(path, Hex(hex));
    return CWString::FromUtf8(path.string());
  }
  TempDir dir;
};

}  // namespace

TEST_F(TextFileLoad, DetectedAndGivenCharsets) {
  struct Case {
    std::string hex;
    const char16_t* charsetIn;
    std::u16string text;
    const char16_t* charsetOut;
    bool mark;
  } cases[] = {
      {"EF BB BF 41", u"", u"A", u"UTF-8", true},
      {"FF FE 41 00", u"utf-16le", u"A", u"utf-16le", true},
      {"FE FF 00 41", u"UTF-16BE", u"A", u"UTF-16BE", true},
      {"FE FF 00 41", u"", u"A", u"UTF-16BE", true},
      {"41 00 42 00", u"", u"AB", u"UTF-16", false},
      {"D6 D0 CE C4", u"", u"中文", u"gbk", false},
      {"E4 B8 AD E6 96 87", u"", u"中文", u"UTF-8", false},
      {"E4 B8 AD E6 96 87", u"utf8", u"中文", u"UTF-8", false},
      {"A4 A4 A4 E5", u"big5", u"中文", u"big5", false},
      {"FF FE 41 00", u"UTF-8", std::u16string(u"\uFFFD\uFFFDA\0", 4), u"UTF-8", false},  // another mark is text
  };
  for (const Case& c : cases) {
    const CWString path = Write("in.txt", c.hex);
    CWString charset(c.charsetIn);
    rg_Ombrine_base::rg_LuoJiXingLei mark(!c.mark);
    EXPECT_EQ(ReadTextFile(path, charset, mark), CWString(c.text)) << c.hex;
    EXPECT_EQ(charset, c.charsetOut) << c.hex;
    EXPECT_EQ(mark.value, c.mark) << c.hex;
  }
}

TEST_F(TextFileLoad, UtfMarkReadAsAnsiStaysText) {
  const CWString path = Write("in.txt", "EF BB BF 41");
  CWString charset(u"ANSI");
  rg_Ombrine_base::rg_LuoJiXingLei mark(true);
  // EF BB is one GBK character (锘); BF 41 is another (緼).
  EXPECT_EQ(ReadTextFile(path, charset, mark), u"锘緼");
  EXPECT_EQ(charset, u"GBK");
  EXPECT_FALSE(mark.value);
}

TEST_F(TextFileLoad, MissingFileReadsEmpty) {
  CWString charset;
  rg_Ombrine_base::rg_LuoJiXingLei mark(true);
  EXPECT_EQ(ReadTextFile(CWString::FromUtf8((dir.path() / "none.txt").string()), charset, mark), u"");
  EXPECT_EQ(charset, u"gbk");
  EXPECT_FALSE(mark.value);
  // A folder is not a file either.
  charset = CWString(u"UTF-8");
  EXPECT_EQ(ReadTextFile(CWString::FromUtf8(dir.str()), charset, mark), u"");
}

TEST_F(TextFileLoad, ZeroUnitsAndOddTailAreKept) {
  const CWString path = Write("nul.txt", "FF FE 41 00 00 00 42 00");
  CWString charset;
  rg_Ombrine_base::rg_LuoJiXingLei mark;
  const CWString text = ReadTextFile(path, charset, mark);
  EXPECT_EQ(text.View(), std::u16string_view(u"A\0B", 3));
  EXPECT_EQ(charset, u"UTF-16");

  const CWString odd = Write("odd.txt", "41 00 42");
  charset = CWString();
  EXPECT_EQ(ReadTextFile(odd, charset, mark), u"A\uFFFD");
}

TEST_F(TextFileLoad, RawBytesAndBufferInPlace) {
  const CWString path = Write("in.txt", "EF BB BF E4 B8 AD");
  CQzuMem bytes, raw;
  CWString charset;
  rg_Ombrine_base::rg_LuoJiXingLei mark;
  EXPECT_TRUE(LoadTextFile(bytes, path, charset, mark, raw));
  EXPECT_EQ(ToHex(bytes.GetData(), bytes.GetSize()), "2D 4E");
  EXPECT_EQ(ToHex(raw.GetData(), raw.GetSize()), "EF BB BF E4 B8 AD");

  // A null raw buffer is left alone.
  CQzuMem none = CQzuMem::Null();
  charset = CWString();
  EXPECT_TRUE(LoadTextFile(bytes, path, charset, mark, none));
  EXPECT_TRUE(none.IsNull());
  EXPECT_EQ(none.GetSize(), 0u);

  // An empty path decodes what the buffer holds and leaves the raw buffer.
  const std::vector<uint8_t> gbk = Hex("D6 D0");
  bytes.Assign(gbk.data(), gbk.size());
  charset = CWString();
  EXPECT_TRUE(LoadTextFile(bytes, CWString(), charset, mark, raw));
  EXPECT_EQ(ToHex(bytes.GetData(), bytes.GetSize()), "2D 4E");
  EXPECT_EQ(ToHex(raw.GetData(), raw.GetSize()), "EF BB BF E4 B8 AD");
  EXPECT_EQ(charset, u"gbk");
}

TEST_F(TextFileLoad, UnknownCharsetIsReported) {
  const CWString path = Write("in.txt", "41 42");
  CQzuMem bytes;
  CWString charset(u"no-such-charset");
  rg_Ombrine_base::rg_LuoJiXingLei mark;
  EXPECT_FALSE(LoadTextFile(bytes, path, charset, mark));
  EXPECT_EQ(ToHex(bytes.GetData(), bytes.GetSize()), "41 42");
  EXPECT_EQ(ReadTextFile(path, charset, mark), u"");
}
