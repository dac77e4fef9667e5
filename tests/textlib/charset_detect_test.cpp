// Charset detection, the names of code pages, the UTF-8 likelihood scan, the
// byte-order marks per name and the charset list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "code_page_guard.h"
#include "platform/code_page_codec.h"
#include "platform/system_code_page.h"
#include "test_support.h"
#include "textlib/charset_detect.h"
#include "textlib/code_page_table.h"

using qzu_test::CodePageGuard;
using qzu_test::MemFromHex;
using qzu_test::ToHex;

namespace {
std::string ToHex(const std::string& s) { return qzu_test::ToHex(reinterpret_cast<const uint8_t*>(s.data()), s.size()); }
}  // namespace

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
      {"C3 A9 E4 B8 AD FF", u"gbk", 0},       // 2 good, 1 bad: a short text with a bad byte
      {"C2 CB B9 CD B4 D4 BD EE", u"gbk", 0}, // 滤雇丛筋 in GBK: 3 good, 2 bad
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
      {"F0 9F 98 80 F0 9F 98 81", u"UTF-8", 0}, // emoji: four-byte sequences count
      {"E5 A5 BD E7 9A 84 F0 9F 91 8D", u"UTF-8", 0}, // 好的👍, not 濂界殑馃憤
      {"F0 A0 80 80", u"UTF-8", 0},           // 𠀀 U+20000
      {"F0 90 80 80", u"UTF-8", 0},           // U+10000, the lowest four-byte character
      {"F4 8F BF BF", u"UTF-8", 0},           // U+10FFFF, the highest
      {"F0 8F BF BF", u"gbk", 0},             // overlong four-byte form
      {"F4 90 80 80", u"gbk", 0},             // past U+10FFFF
      {"F5 80 80 80", u"gbk", 0},             // F5-F7 lead nothing
      {"F0 9F 98 41", u"gbk", 0},             // cut four-byte sequence
      {"D3 AC C8 B1 C4 B9 C2 B6", u"gbk", 0}, // 蝇缺墓露, in UTF-8 "ӬȱĹ¶": scripts mixed
      {"D2 BD D4 BA 0D 0A", u"gbk", 0},       // 医院, in UTF-8 "ҽԺ": Cyrillic beside Armenian
      {"BA C3 D3 CC", u"gbk", 0},             // 好佑: not UTF-8 at all
      {"63 61 66 C3 A9", u"UTF-8", 0},        // café, also 3 letters and 茅 in GBK: one script
      {"47 72 C3 BC C3 9F 65", u"UTF-8", 0},  // Grüße
      {"D0 9F D1 80 D0 B8 D0 B2 D0 B5 D1 82", u"UTF-8", 0},             // Привет
      {"CE 95 CE BB CE BB CE B7 CE BD CE B9 CE BA CE AC", u"UTF-8", 0}, // Ελληνικά
      {"D0 B4 D0 B5 D0 BB D0 BE", u"UTF-8", 0}, // дело, also 写械谢芯 in GBK: one script
      {"32 35 C2 B0 43", u"UTF-8", 0},        // 25°C: a symbol alone is no mix
      {"D6 D0 CE C4", u"gbk", 0},
      {"E4 B8", u"gbk", 0},                   // truncated three-byte sequence
  };
  for (const Case& c : cases) {
    int mark = 0;
    EXPECT_EQ(DetectEncoding(MemFromHex(c.hex), mark), c.name) << c.hex;
    EXPECT_EQ(mark, c.mark) << c.hex;
  }
}

// Only where GBK is the system's charset does its reading win a tie.
TEST(DetectEncoding, BothReadingsWellFormedPrefersGbkOnlyOnCodePage936) {
  int mark = 0;
  const CQzuMem bytes = MemFromHex("D3 AC C8 B1 C4 B9 C2 B6");
  {
    CodePageGuard guard(936);
    EXPECT_EQ(DetectEncoding(bytes, mark), u"gbk");
  }
  CodePageGuard guard(950);
  EXPECT_EQ(DetectEncoding(bytes, mark), u"UTF-8");
}

namespace {

std::string Gbk(std::u16string_view text) {
  std::string out;
  qzu::CodePageCodec(936)->Encode(text, out);
  return out;
}

CWString Detect(const std::string& bytes) {
  int mark = 0;
  return DetectEncoding(CQzuMem(bytes.data(), bytes.size()), mark);
}

}  // namespace

// Everyday words in GBK whose bytes are also well-formed UTF-8 of one
// script: the UTF-8 reading holds archaic, phonetic or modifier letters, or a
// small letter then a capital. Elsewhere than on code page 936 they keep the
// UTF-8 answer.
TEST(DetectEncoding, ShortGbkWordsWhoseUtf8ReadingIsNoTextStayGbk) {
  const char16_t* words[] = {
      u"学校",  // ѧУ
      u"失去",  // ʧȥ
      u"山水",  // ɽˮ
      u"母女",  // ĸŮ
      u"一一",  // һһ
      u"小学", u"取钱", u"前去", u"也要", u"一页", u"牛皮",
      u"1,学校\r\n2,小学\r\n", u"[学校]\r\nname=一一", u"学校 2024",
      u"习佗",  // level 2: ϰ٢
      u"盛驴",  // level 2: ʢ¿
      u"写校写",  // дУд: a capital between small letters
  };
  for (const char16_t* word : words) {
    const std::string bytes = Gbk(word);
    ASSERT_TRUE(LooksLikeUtf8(bytes.data(), bytes.size())) << CWString(word).ToUtf8();
    {
      CodePageGuard guard(936);
      EXPECT_EQ(Detect(bytes), u"gbk") << CWString(word).ToUtf8();
    }
    CodePageGuard guard(950);
    EXPECT_EQ(Detect(bytes), u"UTF-8") << CWString(word).ToUtf8();
  }
}

// Words of different alphabets side by side are ordinary writing (science,
// names, quotations); so are Greek letters beside ASCII ones, symbols, and
// words of one living alphabet. Each of these is also a row of GB2312
// characters in GBK.
TEST(DetectEncoding, LatinBesideGreekOrCyrillicStaysUtf8) {
  CodePageGuard guard(936);
  const char* lines[] = {
      "The wave function Ψ of Schrödinger", "naïve set theory, α and β", "café α", "Résumé: Ω", "10 μm", "5 Ω",
      "10μm", "cosθ", "2 mΩ", "дело and café", "«Сон»", "Слово", "οί", "סע", "اب", "šťastný", "10 мкФ",
  };
  for (const char* line : lines) {
    const std::string bytes(line);
    size_t i = 0;
    while (i < bytes.size() && (static_cast<uint8_t>(bytes[i]) < 0x80 || static_cast<uint8_t>(bytes[i + 1]) >= 0xA1))
      i += static_cast<uint8_t>(bytes[i]) < 0x80 ? 1 : 2;
    ASSERT_EQ(i, bytes.size()) << line << ": not a row of GB2312 pairs, so no test of the reading";
    EXPECT_EQ(Detect(bytes), u"UTF-8") << line;
  }
}

// A mix of alphabets inside one word is no text: the last common row of
// GB2312 (lead D7, read as Hebrew letters) beside Latin, Greek or Cyrillic
// letters from other rows stays GBK, in either order.
TEST(DetectEncoding, CommonCharactersOfTheLastRowBesideOtherAlphabetsStayGbk) {
  CodePageGuard guard(936);
  int pairs = 0;
  for (int trail = 0xA1; trail <= 0xAA; ++trail) {  // 住 to 转: ס to ת
    const std::string last{'\xD7', static_cast<char>(trail)};
    for (const char* other : {"\xC3\xA9", "\xCE\xB1", "\xD0\xA3", "\xD0\xB4", "\xC5\xA3"}) {  // 茅 萎 校 写 牛
      EXPECT_EQ(Detect(last + other), u"gbk") << ToHex(last + other);
      EXPECT_EQ(Detect(other + last), u"gbk") << ToHex(other + last);
      pairs += 2;
    }
  }
  EXPECT_EQ(pairs, 100);
  EXPECT_EQ(Detect(Gbk(u"住校")), u"gbk");
  EXPECT_EQ(Detect(Gbk(u"转撰")), u"gbk");  // ת and an unassigned code point
}

// A download or sample cut inside its last character is still UTF-8; what is
// left of the character counts for neither side.
TEST(DetectEncoding, Utf8CutInsideItsLastCharacterStaysUtf8) {
  const std::string text = "好的，明天见";
  const std::string emoji = "ok 👍👍";
  for (int codePage : {936, 950}) {
    CodePageGuard guard(codePage);
    for (size_t cut : {1, 2}) {
      const std::string bytes = text.substr(0, text.size() - cut);
      EXPECT_TRUE(LooksLikeUtf8(bytes.data(), bytes.size())) << cut;
      EXPECT_EQ(Detect(bytes), u"UTF-8") << cut << " at " << codePage;
    }
    for (size_t cut : {1, 2, 3}) EXPECT_EQ(Detect(emoji.substr(0, emoji.size() - cut)), u"UTF-8") << cut;
  }
  struct Case {
    std::string hex;
    bool utf8;
  } cases[] = {
      {"E4 B8", false},                 // nothing whole before the cut
      {"C3 A9 E4 B8", true},            // é and a cut 中
      {"C3 A9 C3", true},
      {"C3 A9 F0 9F 98", true},
      {"C3 A9 E0 80", false},           // E0 80 begins no character: two bad bytes
      {"C3 A9 ED A0", false},           // a surrogate
      {"C3 A9 F4 90", false},           // past U+10FFFF
      {"C3 A9 F5", false},
      {"C3 A9 E4 41", false},           // the cut is not at the end
      {"C3 A9 E4 B8 AD E4 B8 AD 80", false},  // a stray continuation byte
  };
  for (const Case& c : cases) EXPECT_EQ(LooksLikeUtf8(MemFromHex(c.hex)), c.utf8) << c.hex;
  // On code page 936 a cut reading needs two whole characters against a
  // GB2312 reading: E4 B8 B0 C4 is 涓澳 in GBK, and one character and a cut
  // one in UTF-8.
  CodePageGuard guard(936);
  EXPECT_EQ(Detect(Gbk(u"涓澳")), u"gbk");
}

// UTF-16 without a mark whose first character is not ASCII: the zero test
// of the first two bytes misses it, the reading of the whole does not.
TEST(DetectEncoding, UnmarkedUtf16StartingWithChineseIsTakenInItsOrder) {
  CodePageGuard guard(936);
  for (const std::u16string& text : {std::u16string(u"中文Größe\r\n"), std::u16string(u"中Größe"),
                                    std::u16string(u"床前明月光，疑是地上霜。 (Li Bai)\r\n")}) {
    std::string le, be;
    for (char16_t u : text) {
      le += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
      be += {static_cast<char>(u >> 8), static_cast<char>(u & 0xFF)};
    }
    int mark = 0;
    EXPECT_EQ(DetectEncoding(CQzuMem(le.data(), le.size()), mark), u"UTF-16") << ToHex(le);
    EXPECT_EQ(DetectEncoding(CQzuMem(be.data(), be.size()), mark), u"UTF-16BE") << ToHex(be);
    EXPECT_EQ(mark, 0);
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

// At most one bad byte per kValidPerBadByte good sequences, wherever the
// eight-byte ASCII runs and the 64-byte blocks split the text.
TEST(LooksLikeUtf8, LongTextWithStrayBytes) {
  static_assert(kValidPerBadByte == 8);
  std::string text;
  for (int i = 0; i < 48; ++i) text += "abcdefghijk\xE4\xB8\xAD";
  EXPECT_TRUE(LooksLikeUtf8(text.data(), text.size()));
  text += std::string(6, '\xFF');  // 48 good, 6 bad: exactly one per 8
  EXPECT_TRUE(LooksLikeUtf8(text.data(), text.size()));
  text += '\x80';  // 7 bad
  EXPECT_FALSE(LooksLikeUtf8(text.data(), text.size()));
  text += "\xF0\x9F\x98\x80";  // 49 good, 7 bad
  EXPECT_FALSE(LooksLikeUtf8(text.data(), text.size()));
  for (int i = 0; i < 7; ++i) text += "\xC3\xA9";  // 56 good, 7 bad
  EXPECT_TRUE(LooksLikeUtf8(text.data(), text.size()));
}

// The scan may stop once the bad bytes can no longer be outweighed; bad bytes
// that fill whole blocks ahead of dense UTF-8 must not stop it early.
TEST(LooksLikeUtf8, BadBytesFirstThenDenseUtf8) {
  const auto text = [](size_t bad, size_t good, const char* sequence) {
    std::string s(bad, '\xFF');
    for (size_t i = 0; i < good; ++i) s += sequence;
    return s;
  };
  for (const char* sequence : {"\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80"}) {
    for (size_t bad : {1, 63, 64, 65, 128, 200, 1000}) {
      const std::string enough = text(bad, bad * kValidPerBadByte, sequence);
      const std::string fewer = text(bad, bad * kValidPerBadByte - 1, sequence);
      EXPECT_TRUE(LooksLikeUtf8(enough.data(), enough.size())) << bad;
      EXPECT_FALSE(LooksLikeUtf8(fewer.data(), fewer.size())) << bad;
    }
  }
}

TEST(MakeBom, PerNameAndFlag) {
  struct Case {
    const char16_t* name;
    bool wanted;
    std::string hex;
  } cases[] = {
      {u"UTF-8", true, "EF BB BF"}, {u"utf-8", true, "EF BB BF"},
      {u"UTF-8", false, ""},        {u"utf-16le", true, "FF FE"},
      {u"UTF-16", true, "FF FE"},   {u"UTF-16BE", true, "FE FF"},
      {u"UTF-16BE", false, ""},     {u"ANSI", true, ""},
      {u"UTF8", true, ""},          {u"", true, ""},
      {u"GBK", true, ""},
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
