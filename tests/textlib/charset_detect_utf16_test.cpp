// UTF-16 without a mark whose first character is no ASCII one: told by the
// side its zero bytes stand on and by whether the units so read are text.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "common/utf.h"
#include "textlib/charset_detect_utf16.h"

namespace {

std::string Utf16Bytes(const std::u16string& text, bool littleEndian) {
  std::string out;
  for (const char16_t u : text) {
    const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
    out += littleEndian ? lo : hi;
    out += littleEndian ? hi : lo;
  }
  return out;
}

std::u16string Detected(const std::string& bytes) { return DetectUnmarkedUtf16(bytes.data(), bytes.size()).Str(); }

TEST(DetectUnmarkedUtf16, TellsTheByteOrderFromTheSideOfTheZeroBytes) {
  struct Case {
    const char* name;
    std::u16string text;
    bool utf16;  // in both byte orders
  } cases[] = {
      {"Chinese, then Latin-1 letters and a line break", u"中文Größe\r\n", true},
      // ß is DF and Ø D8: in the other order their units would be surrogates.
      {"Latin-1 letters D8 to DF after one Chinese character", u"中Größe", true},
      {"Ø and Þ", u"中ØÞ×ß", true},
      // 😀 is D83D DE00 and 一 4E00: zero bytes on the other side, fewer.
      {"a pair of surrogates", u"中😀 ok", true},
      {"一 among Latin letters", u"一二三 one two", true},
      {"more zero bytes on the low side", u"一年一度\x3000刀a", true},
      {"terminal colours", u"中\x1b[31mred\x1b[0m\r\n", true},
      {"a lone high surrogate", u"中\xD83D ok", false},
      {"a lone low surrogate", u"中\xDE00 ok", false},
      {"U+FFFF", u"中\xFFFF ok", false},
      {"control characters no text has", u"中\x01\x02\x03\x04 ok", false},
      {"no zero byte at all", u"中文字符", false},
      // Read either way: "Aa" and "䄀愀".
      {"no order ahead", u"Aa\x4100\x6100", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Detected(Utf16Bytes(c.text, true)), c.utf16 ? u"UTF-16" : u"");
    EXPECT_EQ(Detected(Utf16Bytes(c.text, false)), c.utf16 ? u"UTF-16BE" : u"");
  }
  // Half a unit at the end is no UTF-16 text; GBK and UTF-8 have no zero byte.
  EXPECT_EQ(Detected(Utf16Bytes(u"中文ab", true) + "x"), u"");
  EXPECT_EQ(Detected("\xD6\xD0\xCE\xC4 ab\r\n"), u"");
  EXPECT_EQ(Detected("\xE4\xB8\xAD\xE6\x96\x87 ab\r\n"), u"");
  EXPECT_EQ(Detected(""), u"");
}

TEST(DetectUnmarkedUtf16, LooksAtTheFirstBlockOnly) {
  // The block ends inside a surrogate pair, and the text goes on with half
  // a unit and zero bytes on the other side: only the block tells.
  std::u16string text(kUnmarkedUtf16Block / 2 - 1, u'中');
  text += u"😀";
  std::string bytes = Utf16Bytes(text, true);
  bytes.insert(bytes.end() - 1, '\0');
  bytes += "x";
  for (size_t i = 0; i < 1000; i += 2) bytes[i] = 'a', bytes[i + 1] = '\0';
  ASSERT_GT(bytes.size(), kUnmarkedUtf16Block);
  EXPECT_EQ(Detected(bytes), u"UTF-16");
  // Within the block, the same ending is a lone surrogate.
  EXPECT_EQ(Detected(Utf16Bytes(u"中文 text\r\n中文\xD83D", true)), u"");
}

TEST(DetectUnmarkedUtf16, PoemLinesWithAsciiInsideAreUtf16) {
  std::ifstream in("/usr/share/games/fortunes/tang300", std::ios::binary);
  if (!in) GTEST_SKIP() << "the poems are missing: install fortunes-zh";
  size_t lines = 0, missed = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '%' || line[0] == '\x1b') continue;  // separators and headings
    const std::u16string verse = qzu::Utf8ToUtf16(line);
    if (verse.size() < 2 || verse[0] < 0x80) continue;
    // ASCII inside the line, and at its end.
    const std::u16string texts[] = {verse + u"\r\n", verse.substr(0, 2) + u" (No. 7) " + verse.substr(2)};
    for (const std::u16string& text : texts) {
      ++lines;
      if (Detected(Utf16Bytes(text, true)) != u"UTF-16") ++missed;
      if (Detected(Utf16Bytes(text, false)) != u"UTF-16BE") ++missed;
    }
  }
  EXPECT_GT(lines, 1000u);
  EXPECT_EQ(missed, 0u) << "of " << lines * 2;
}

}  // namespace
