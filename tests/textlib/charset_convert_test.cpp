// Conversion between charsets by name: the native routes, the converters of
// other charsets, marks, malformed input, and encoding in pieces.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "code_page_guard.h"
#include "platform/system_code_page.h"
#include "test_support.h"
#include "textlib/charset_convert.h"
#include "textlib/code_page_table.h"

using qzu_test::CodePageGuard;
using qzu_test::Hex;
using qzu_test::MemFromHex;
using qzu_test::ToHex;

namespace {

// Converts hex bytes with constant names and gives the result as hex.
std::string Convert(const std::string& hex, const char16_t* from, const char16_t* to, int mark = 0) {
  CQzuMem m = MemFromHex(hex);
  CWString f(from), t(to);
  EXPECT_TRUE(ConvertCharset(m, f, t, mark)) << "from " << f.ToUtf8() << " to " << t.ToUtf8();
  return ToHex(m);
}

}  // namespace

TEST(ConvertCharset, NativeRoutesOfChineseText) {
  // "中文" in each native form.
  const std::string gbk = "D6 D0 CE C4", utf8 = "E4 B8 AD E6 96 87", le = "2D 4E 87 65", be = "4E 2D 65 87";
  struct Case {
    const char16_t* from;
    std::string in;
    const char16_t* to;
    std::string out;
  } cases[] = {
      {u"ANSI", gbk, u"UTF-8", utf8},     {u"ANSI", gbk, u"UTF-16", le},     {u"ANSI", gbk, u"UTF-16BE", be},
      {u"utf8", utf8, u"ansi", gbk},      {u"UTF-8", utf8, u"UTF-16LE", le}, {u"UTF-8", utf8, u"UTF-16BE", be},
      {u"UTF-16BE", be, u"UTF-8", utf8},  {u"UTF-16BE", be, u"GBK", gbk},    {u"UTF-16BE", be, u"UTF-16", le},
      {u"UTF-16", le, u"UTF-8", utf8},    {u"UTF-16LE", le, u"gbk", gbk},    {u"UTF-16", le, u"UTF-16BE", be},
      {u"UTF-16", le, u"UTF-16LE", le},
  };
  for (const Case& c : cases) EXPECT_EQ(Convert(c.in, c.from, c.to), c.out) << Hex(c.in).size();
}

TEST(ConvertCharset, RewritesAnsiAndUtf8NamesInPlace) {
  CQzuMem m = MemFromHex("D6 D0 CE C4");
  CWString from(u"ANSI"), to(u"utf8");
  EXPECT_TRUE(ConvertCharset(m, from, to, 0));
  EXPECT_EQ(from, u"GBK");
  EXPECT_EQ(to, u"UTF-8");
  EXPECT_EQ(ToHex(m), "E4 B8 AD E6 96 87");

  // Other names keep their own case.
  CWString big5(u"Big5"), le(u"utf-16le");
  m = MemFromHex("A4 A4 A4 E5");
  EXPECT_TRUE(ConvertCharset(m, big5, le, 0));
  EXPECT_EQ(big5, u"Big5");
  EXPECT_EQ(le, u"utf-16le");
  EXPECT_EQ(ToHex(m), "2D 4E 87 65");
}

TEST(ConvertCharset, EqualNamesOnlyDropTheMark) {
  EXPECT_EQ(Convert("EF BB BF 41", u"gbk", u"GBK", 3), "41");
  EXPECT_EQ(Convert("D6 D0", u"gbk", u"GBK", 0), "D6 D0");
  EXPECT_EQ(Convert("FF FE 41 00", u"UTF-16", u"UTF-16LE", 2), "41 00");
  EXPECT_EQ(Convert("EF BB BF 41", u"UTF-8", u"UTF-16", 3), "41 00");
  EXPECT_EQ(Convert("41 42", u"UTF-8", u"UTF-16", 5), "");
  EXPECT_EQ(Convert("41 42", u"UTF-8", u"UTF-16", -1), "41 00 42 00");
}

TEST(ConvertCharset, BigEndianToOthers) {
  EXPECT_EQ(Convert("00 41 00 42", u"UTF-16BE", u"UTF-16"), "41 00 42 00");
  EXPECT_EQ(Convert("00 41 00 42", u"UTF-16BE", u"ANSI"), "41 42");
  // Half a unit at the end is dropped, not written past the buffer.
  EXPECT_EQ(Convert("41 00 42", u"UTF-16BE", u"UTF-16"), "00 41 00");
}

TEST(ConvertCharset, ZeroUnitsAndBytesAreData) {
  EXPECT_EQ(Convert("41 00 00 00 42 00", u"UTF-16", u"UTF-8"), "41 00 42");
  EXPECT_EQ(Convert("41 00 42", u"GBK", u"UTF-16"), "41 00 00 00 42 00");
  EXPECT_EQ(Convert("41 00 42", u"UTF-8", u"UTF-16BE"), "00 41 00 00 00 42");
  EXPECT_EQ(Convert("00 00 D6 D0", u"GBK", u"UTF-8"), "00 00 E4 B8 AD");
}

TEST(ConvertCharset, OtherCharsetsThroughTheirConverters) {
  EXPECT_EQ(Convert("A4 A4 A4 E5", u"big5", u"UTF-16"), "2D 4E 87 65");     // no mark in front
  EXPECT_EQ(Convert("A4 A4 A4 E5", u"big5", u"UTF-16BE"), "4E 2D 65 87");   // nor here
  EXPECT_EQ(Convert("A4 A4 A4 E5", u"big5", u"UTF-8"), "E4 B8 AD E6 96 87");
  EXPECT_EQ(Convert("D6 D0 CE C4", u"ANSI", u"big5"), "A4 A4 A4 E5");
  EXPECT_EQ(Convert("2D 4E 87 65", u"UTF-16", u"shift_jis"), "92 86 95 B6");
  EXPECT_EQ(Convert("FF FE 41 00", u"UTF-16", u"koi8-r", 2), "41");
}

TEST(ConvertCharset, UnknownNameIsRefusedAndKeepsTheBytes) {
  for (const char16_t* name : {u"no-such-charset", u"", u"中文"}) {
    CQzuMem m = MemFromHex("EF BB BF 41 42");
    CWString from(u"UTF-8"), to(name);
    EXPECT_FALSE(ConvertCharset(m, from, to, 3));
    EXPECT_EQ(ToHex(m), "EF BB BF 41 42");
    CWString back(name), utf8(u"UTF-8");
    EXPECT_FALSE(ConvertCharset(m, back, utf8, 0));
    EXPECT_EQ(ToHex(m), "EF BB BF 41 42");
  }
}

TEST(ConvertCharset, CodePageWithoutTableRow) {
  CodePageGuard guard(437);
  // GBK is no longer native: it goes through its own converter.
  EXPECT_EQ(Convert("D6 D0 CE C4", u"GBK", u"UTF-16"), "2D 4E 87 65");
  // ANSI stays usable as the system code page itself (437: 0x82 is é).
  CQzuMem m = MemFromHex("41 82");
  CWString from(u"ansi"), to(u"UTF-8");
  EXPECT_TRUE(ConvertCharset(m, from, to, 0));
  EXPECT_EQ(from, u"ANSI");
  EXPECT_EQ(ToHex(m), "41 C3 A9");
}

TEST(NativeConverters, AnsiBestFitAndQuestionMarks) {
  struct Case {
    std::u16string text;
    std::string ansi;
  } cases[] = {
      {u"\u00A5", "A3 A4"},          // yen sign best-fits to the full-width one
      {u"\u00A2", "A1 E9"},          // cent sign
      {u"\u00B3", "33"},             // superscript three
      {u"\u034F", "3F"},             // default-ignorables still show as "?"
      {u"\u115F\u200B", "3F 3F"},
      {u"\U0001F600", "3F"},         // above the BMP: one "?" per character
      {u"\u20AC\uF8F5", "80 FF"},    // Windows' own single bytes
      {std::u16string(1, u'\xD800') + u"A", "3F 41"},  // lone surrogate
      // Halfwidth arrows and the white circle: ICU's fallbacks would write
      // ESC, CAN, SUB, EM and TAB; a best fit never makes a control byte.
      {u"\uFFE9\uFFEA\uFFEB\uFFEC\uFFEE", "3F 3F 3F 3F 3F"},
  };
  for (const Case& c : cases) {
    CQzuMem m(c.text.data(), c.text.size() * 2);
    Utf16ToAnsi(m);
    EXPECT_EQ(ToHex(m), c.ansi);
  }
  // The same through the conversion by names.
  EXPECT_EQ(Convert("E9 FF 41 00 EE FF A5 00", u"UTF-16", u"ANSI"), "3F 41 3F A3 A4");
  EXPECT_EQ(Convert("FF E9 FF EB", u"UTF-16BE", u"GBK"), "3F 3F");
}

TEST(NativeConverters, MalformedInput) {
  CQzuMem m = MemFromHex("D6");  // lead byte cut off
  AnsiToUtf16(m);
  EXPECT_EQ(ToHex(m), "FD FF");
  m = MemFromHex("81 30");  // bad trail: the ASCII byte survives
  AnsiToUtf16(m);
  EXPECT_EQ(ToHex(m), "FD FF 30 00");
  m = MemFromHex("E4 B8 41 C0 80");
  Utf8ToUtf16(m);
  EXPECT_EQ(ToHex(m), "FD FF 41 00 FD FF FD FF");
  m = MemFromHex("00 DC 41");  // lone low surrogate, odd tail
  Utf16ToUtf8(m);
  EXPECT_EQ(ToHex(m), "EF BF BD 41");
  m = MemFromHex("41");
  SwapUtf16ByteOrder(m);
  EXPECT_EQ(ToHex(m), "00");
  m = CQzuMem();
  SwapUtf16ByteOrder(m);
  EXPECT_EQ(m.GetSize(), 0u);
}

TEST(ConvertCharset, EveryTableNameOpens) {
  // "_autodetect" names Windows' Japanese guesser, which has no converter.
  const CWString table = CodePageTable();
  int rows = 0;
  for (const CWString& row : table.Split(u"\r\n", false, true)) {
    const CWString name = row.Split(u",")[1];
    ++rows;
    CQzuMem m = MemFromHex("41 00 30 00");
    const bool known = ConvertCharset(m, u"UTF-16", name, 0);
    if (name == u"_autodetect") {
      EXPECT_FALSE(known);
      continue;
    }
    EXPECT_TRUE(known) << name.ToUtf8();
    EXPECT_TRUE(ConvertCharset(m, name, u"UTF-16", 0)) << name.ToUtf8();
    EXPECT_EQ(ToHex(m), "41 00 30 00") << name.ToUtf8();
  }
  EXPECT_EQ(rows, 31);
}

TEST(ConvertCharset, MalformedBuffersThroughEveryRoute) {
  // Random bytes (cut sequences, lone surrogates, odd lengths) through every
  // route: converting to UTF-8 directly must give what going through UTF-16
  // gives, and the UTF-16 result holds whole units.
  const char16_t* names[] = {u"ANSI", u"UTF-8", u"UTF-16", u"UTF-16BE", u"big5", u"shift_jis", u"hz-gb-2312",
                             u"euc-jp", u"koi8-r"};
  std::mt19937 rng(3);
  for (int round = 0; round < 200; ++round) {
    std::string raw(rng() % 34, '\0');
    for (char& c : raw) c = static_cast<char>(rng() % 4 ? 0x80 + rng() % 128 : rng() % 128);
    for (const char16_t* name : names) {
      const CWString from(name);
      const bool utf16Source = from == u"UTF-16" || from == u"UTF-16BE";
      CQzuMem direct(raw.data(), raw.size());
      ASSERT_TRUE(ConvertCharset(direct, from, u"UTF-8", 0));
      CQzuMem viaUtf16(raw.data(), raw.size());
      ASSERT_TRUE(ConvertCharset(viaUtf16, from, u"UTF-16", 0));
      if (!utf16Source) {
        EXPECT_EQ(viaUtf16.GetSize() % 2, 0u) << from.ToUtf8();
      }
      ASSERT_TRUE(ConvertCharset(viaUtf16, u"UTF-16", u"UTF-8", 0));
      if (from != u"UTF-8") {  // equal names leave the bytes as they are
        EXPECT_EQ(ToHex(direct), ToHex(viaUtf16)) << from.ToUtf8() << " round " << round;
      }
    }
  }
}

namespace {

// Encoding in pieces gives the bytes of the whole conversion, with surrogate
// pairs, lone surrogates and characters outside the code page falling on and
// around the piece boundaries; an unknown name reaches the sink not at all.
TEST(EncodeUtf16InPieces, SameBytesAsTheWholeConversion) {
  std::u16string text;
  std::mt19937 rng(3);
  const std::u16string pieces[] = {u"中", u"a", u"\U0001F600", u"\u20AC", std::u16string(1, 0xD800), u"\r\n", u"\u00E9"};
  while (text.size() < 200000) text += pieces[rng() % std::size(pieces)];
  // A pair straddling the first boundary, a lone high surrogate at the second.
  text[65535] = 0xD83D;
  text[65536] = 0xDE00;
  text[131071] = 0xD800;
  text[131072] = u'x';
  for (const char16_t* to : {u"UTF-8", u"utf8", u"UTF-16", u"UTF-16LE", u"UTF-16BE", u"ANSI", u"big5", u"cp1252"}) {
    CQzuMem whole(text.data(), text.size() * 2);
    ASSERT_TRUE(ConvertCharset(whole, CWString(u"UTF-16"), CWString(to), 0));
    std::string joined;
    ASSERT_TRUE(EncodeUtf16InPieces(text, CWString(to), [&](const void* data, size_t size) {
      joined.append(static_cast<const char*>(data), size);
      return true;
    }));
    EXPECT_EQ(joined, std::string(reinterpret_cast<const char*>(whole.GetData()), whole.GetSize()))
        << CWString(to).ToUtf8();
    EXPECT_TRUE(CharsetIsKnown(CWString(to)));
  }
  bool reached = false;
  EXPECT_FALSE(EncodeUtf16InPieces(text, CWString(u"no-such-charset"), [&](const void*, size_t) {
    reached = true;
    return true;
  }));
  EXPECT_FALSE(reached);
  EXPECT_FALSE(CharsetIsKnown(CWString(u"no-such-charset")));
  // A sink that refuses stops the encoding.
  int calls = 0;
  EXPECT_FALSE(EncodeUtf16InPieces(text, CWString(u"UTF-8"), [&](const void*, size_t) { return ++calls < 2; }));
  EXPECT_EQ(calls, 2);
}

// A pair that ends a piece of 65,536 units exactly (its low half the last
// unit of the piece) stays where it is: the piece is not shortened, and the
// next piece does not start with a lone half.
TEST(EncodeUtf16InPieces, PairsEndingAPieceStayWhole) {
  std::u16string text(200000, u'a');
  for (const size_t lowHalf : {65535, 131071}) {
    text[lowHalf - 1] = 0xD83D;
    text[lowHalf] = 0xDE00;
  }
  for (const char16_t* to : {u"UTF-8", u"UTF-16BE"}) {
    std::vector<size_t> pieces;
    std::string joined;
    ASSERT_TRUE(EncodeUtf16InPieces(text, CWString(to), [&](const void* data, size_t size) {
      pieces.push_back(size);
      joined.append(static_cast<const char*>(data), size);
      return true;
    }));
    CQzuMem whole(text.data(), text.size() * 2);
    ASSERT_TRUE(ConvertCharset(whole, CWString(u"UTF-16"), CWString(to), 0));
    EXPECT_EQ(joined, std::string(reinterpret_cast<const char*>(whole.GetData()), whole.GetSize()))
        << CWString(to).ToUtf8();
    const size_t perPiece = std::u16string_view(to) == u"UTF-8" ? 65536 - 2 + 4 : 65536 * 2;
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0], perPiece);  // whole pieces: nothing moved to the next one
    EXPECT_EQ(pieces[1], perPiece);
  }
}

}  // namespace

namespace {

// System code page text straight to UTF-8 in pieces: the bytes of the two
// steps through UTF-16, also where a long stretch offers no place to cut.
TEST(AnsiToUtf8InPieces, SameBytesAsTheTwoSteps) {
  std::mt19937 rng(8);
  std::string gbk;
  while (gbk.size() < 100000) {
    const unsigned r = rng() % 10;
    if (r < 6) gbk += "\xD6\xD0\xCE\xC4";  // 中文
    else if (r < 8) gbk += "text, ";
    else if (r < 9) gbk += "\r\n";
    else gbk += static_cast<char>(0x80 + rng() % 128);  // a lead with any trail, or a bad byte
  }
  // 200,000 bytes that are all lead or trail bytes, then more text.
  for (int i = 0; i < 100000; ++i) gbk += "\xBA\xBA";
  gbk += "end\xB0";  // a lead cut off by the end
  CQzuMem twoSteps(gbk.data(), gbk.size());
  AnsiToUtf16(twoSteps);
  Utf16ToUtf8(twoSteps);
  std::string joined;
  int pieces = 0;
  ASSERT_TRUE(AnsiToUtf8InPieces(gbk, [&](const void* data, size_t size) {
    joined.append(static_cast<const char*>(data), size);
    ++pieces;
    return true;
  }));
  EXPECT_EQ(joined, std::string(reinterpret_cast<const char*>(twoSteps.GetData()), twoSteps.GetSize()));
  EXPECT_GT(pieces, 1);

  CWString from(u"ANSI");
  EXPECT_TRUE(AnsiDecodesStraightToUtf8(from, CWString(u"utf8")));
  EXPECT_EQ(from, CWString::FromUtf8(CodePageToCharset(GetSystemCodePage()).ToUtf8()).ToUpperAscii());
  CWString utf8(u"UTF-8");
  EXPECT_FALSE(AnsiDecodesStraightToUtf8(utf8, CWString(u"UTF-8")));
  EXPECT_FALSE(AnsiDecodesStraightToUtf8(from, CWString(u"UTF-16")));
}

}  // namespace
