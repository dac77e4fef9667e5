// Charset detection, the names of code pages, the UTF-8 likelihood scan, the
// byte-order marks per name and the charset list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "code_page_guard.h"
#include "platform/system_code_page.h"
#include "test_support.h"
#include "textlib/charset_detect.h"
#include "textlib/code_page_table.h"

using qzu_test::CodePageGuard;
using qzu_test::MemFromHex;
using qzu_test::ToHex;

TEST(CodePageTable, NamesOfCodePages) {
  EXPECT_EQ(CodePageToCharset(936), u"gbk");
  EXPECT_EQ(CodePageToCharset(65001), u"utf-8");
  EXPECT_EQ(CodePageToCharset(708), u"ASMO-708");  // the first row
  EXPECT_EQ(CodePageToCharset(38598), u"iso-8859-8-i");
  EXPECT_EQ(CodePageToCharset(28598), u"iso-8859-8");  // not the longer row
  EXPECT_EQ(CodePageToCharset(437), u"");
  EXPECT_EQ(CodePageToCharset(0), u"");
  EXPECT_EQ(CodePageToCharset(-936), u"");
  EXPECT_TRUE(CodePageTable().EndsWith(u"Unicode (UTF-8) \r\n"));
}

TEST(DetectEncoding, Table) {
  struct Case {
    std::string hex;
    const char16_t* name;
    int mark;
  } cases[] = {
      {"", u"gbk", 0},
      {"41", u"gbk", 0},
      {"00", u"gbk", 0},                      // one byte never reaches the zero test
      {"EF BB BF", u"UTF-8", 3},
      {"EF BB BF D6 D0 FF", u"UTF-8", 3},     // the mark wins over the content
      {"EF BB", u"gbk", 0},                   // half a mark: two bad bytes
      {"FF FE", u"UTF-16", 2},
      {"FF FE 00 00", u"UTF-16", 2},
      {"FE FF 00 41", u"UTF-16BE", 2},
      {"FF", u"gbk", 0},
      {"41 00 42 00", u"UTF-16", 0},
      {"00 41 00 42", u"UTF-16BE", 0},
      {"00 00", u"UTF-16", 0},
      {"48 65 6C 6C 6F", u"gbk", 0},          // ASCII alone is not UTF-8
      {"C3 A9", u"UTF-8", 0},
      {"C3 A9 FF FF", u"gbk", 0},             // 1 good sequence, 2 bad bytes
      {"C3 A9 E4 B8 AD FF", u"UTF-8", 0},     // 2 good, 1 bad
      {"C0 80 41", u"gbk", 0},                // overlong leads C0/C1 are bad bytes
      {"C1 BF C3 A9", u"gbk", 0},
      {"C0 A9 D0 A6", u"gbk", 0},             // GBK text whose first pair reads as overlong
      {"C2 80", u"UTF-8", 0},                 // the lowest well-formed two-byte lead
      {"E0 80 80", u"gbk", 0},                // overlong three-byte form
      {"E0 9F BF C3 A9", u"gbk", 0},
      {"E0 A0 80", u"UTF-8", 0},              // U+0800, the lowest three-byte character
      {"ED A0 80 ED B0 80", u"gbk", 0},       // a surrogate pair written as two sequences
      {"ED 9F BF", u"UTF-8", 0},              // U+D7FF, just below the surrogates
      {"EE 80 80", u"UTF-8", 0},              // U+E000, just above them
      {"F0 9F 98 80 F0 9F 98 81", u"gbk", 0}, // four-byte sequences do not
      {"D6 D0 CE C4", u"gbk", 0},
      {"E4 B8", u"gbk", 0},                   // truncated three-byte sequence
  };
  for (const Case& c : cases) {
    int mark = 0;
    EXPECT_EQ(DetectEncoding(MemFromHex(c.hex), mark), c.name) << c.hex;
    EXPECT_EQ(mark, c.mark) << c.hex;
  }
}

TEST(DetectEncoding, MarkLengthIsWrittenOnlyForAMark) {
  rg_Ombrine_base::rg_ZhengShuLei mark(7);
  EXPECT_EQ(DetectEncoding(MemFromHex("41 00"), mark), u"UTF-16");
  EXPECT_EQ(mark.value, 7);
  EXPECT_EQ(DetectEncoding(MemFromHex("FE FF"), mark), u"UTF-16BE");
  EXPECT_EQ(mark.value, 2);
}

TEST(DetectEncoding, CodePageWithoutTableRowGivesGbk) {
  CodePageGuard guard(437);
  int mark = 0;
  EXPECT_EQ(DetectEncoding(MemFromHex("D6 D0"), mark), u"GBK");
  EXPECT_EQ(DetectEncoding(CQzuMem(), mark), u"GBK");
  SetSystemCodePage(950);
  EXPECT_EQ(DetectEncoding(MemFromHex("A4 A4"), mark), u"big5");
}

TEST(LooksLikeUtf8, LongTextAcrossTheAsciiFastPath) {
  // The counting must not depend on where the eight-byte ASCII runs split.
  std::string text;
  for (int i = 0; i < 50; ++i) text += "abcdefghijk\xE4\xB8\xAD";
  EXPECT_TRUE(LooksLikeUtf8(text.data(), text.size()));
  text += std::string(51, '\xFF');  // 50 good, 51 bad
  EXPECT_FALSE(LooksLikeUtf8(text.data(), text.size()));
  text.pop_back();  // 50 good, 50 bad: not strictly more
  EXPECT_FALSE(LooksLikeUtf8(text.data(), text.size()));
  text.resize(text.size() - 1);
  EXPECT_TRUE(LooksLikeUtf8(text.data(), text.size()));
}

// The scan may stop once the bad bytes can no longer be outnumbered; bad
// bytes that fill whole blocks ahead of dense UTF-8 must not stop it early.
TEST(LooksLikeUtf8, BadBytesFirstThenDenseUtf8) {
  const auto text = [](size_t bad, size_t good) {
    std::string s(bad, '\xFF');
    for (size_t i = 0; i < good; ++i) s += "\xC3\xA9";
    return s;
  };
  EXPECT_TRUE(LooksLikeUtf8(text(64, 90).data(), text(64, 90).size()));
  for (size_t bad : {63, 64, 65, 128, 200, 1000}) {
    const std::string more = text(bad, bad + 1), even = text(bad, bad);
    EXPECT_TRUE(LooksLikeUtf8(more.data(), more.size())) << bad;
    EXPECT_FALSE(LooksLikeUtf8(even.data(), even.size())) << bad;
  }
}

TEST(MakeBom, PerNameAndFlag) {
  struct Case {
    const char16_t* name;
    bool wanted;
    std::string hex;
  } cases[] = {
      {u"UTF-8", true, "EF BB BF"},  {u"utf-8", true, "EF BB BF"}, {u"UTF-8", false, ""},
      {u"utf-16le", true, "FF FE"},  {u"UTF-16", true, "FF FE"},   {u"UTF-16BE", true, "FE FF"},
      {u"UTF-16BE", false, ""},      {u"ANSI", true, ""},          {u"UTF8", true, ""},
      {u"", true, ""},               {u"GBK", true, ""},
  };
  for (const Case& c : cases) {
    const CQzuMem bom = MakeBom(CWString(c.name), c.wanted);
    EXPECT_EQ(ToHex(bom.GetData(), bom.GetSize()), c.hex) << CWString(c.name).ToUtf8() << c.wanted;
  }
}

TEST(CharsetInList, CaseSensitiveItemsTrimmedOfBlanks) {
  const CWString list(u"GBK|UTF-8|UTF-16|UTF-16LE|UTF-16BE");
  EXPECT_TRUE(CharsetInList(u"UTF-16", list, u"|"));
  EXPECT_FALSE(CharsetInList(u"utf-16", list, u"|"));
  EXPECT_FALSE(CharsetInList(u"UTF", list, u"|"));
  EXPECT_TRUE(CharsetInList(u"B", u" A | B |", u"|,"));
  EXPECT_TRUE(CharsetInList(u"C", u"A,C", u"|,"));
  EXPECT_FALSE(CharsetInList(u"", u"|UTF-8", u"|"));  // empty items are dropped
}
