// Escaping and unescaping texts per kind: tables of cases, round trips and
// random input.
#include <gtest/gtest.h>

#include <random>

#include "textlib/escape_codec.h"

namespace {

struct EscapeCase {
  const char* name;
  std::u16string in;
  bool ascii, lineBreaks;
  int kind;
  std::u16string out;
};

TEST(EscapeText, Cases) {
  const EscapeCase cases[] = {
      {"json punctuation keeps its backslash", u"a/\u00E9", false, false, kEscapeBackslash, u"a\\/\\u00E9"},
      {"ascii flag escapes letters, slash stays", u"a/\u00E9", true, false, kEscapeBackslash, u"\\u0061\\/\\u00E9"},
      {"all json punctuation", u"\"'\\/{}[]", false, false, kEscapeBackslash, u"\\\"\\'\\\\\\/\\{\\}\\[\\]"},
      {"crlf becomes one \\n", u"\r\n", false, true, kEscapeBackslash, u"\\n"},
      {"lone cr", u"\r", false, true, kEscapeBackslash, u"\\r"},
      {"tab", u"\t", false, true, kEscapeBackslash, u"\\t"},
      {"cr cr lf", u"\r\r\n", false, true, kEscapeBackslash, u"\\r\\n"},
      {"line breaks stay raw without their flag", u"\r\n\t", true, false, kEscapeBackslash, u"\r\n\t"},
      {"kind 1 lf", u"\n", false, true, kEscapeHtmlHex, u"&#x000A;"},
      {"kind 1 cr", u"\r", false, true, kEscapeHtmlHex, u"&#x000D;"},
      {"kind 2 lf", u"\n", false, true, kEscapeHtmlDecimal, u"&#10;"},
      {"kind 1 cjk, upper-case digits", u"\u4F60a", false, false, kEscapeHtmlHex, u"&#x4F60;a"},
      {"kind 2 cjk", u"\u4F60a", false, false, kEscapeHtmlDecimal, u"&#20320;a"},
      {"kind 2 emoji per surrogate", u"\U0001F600", false, false, kEscapeHtmlDecimal, u"&#55357;&#56832;"},
      {"kind 0 emoji per surrogate", u"\U0001F600", false, false, kEscapeBackslash, u"\\uD83D\\uDE00"},
      {"kind 1 punctuation is plain ascii", u"/&", false, false, kEscapeHtmlHex, u"/&"},
      {"kind 2 ascii flag", u"A&", true, false, kEscapeHtmlDecimal, u"&#65;&#38;"},
      {"zero unit is data", std::u16string(u"a\0b", 3), true, false, kEscapeHtmlDecimal, u"&#97;&#0;&#98;"},
      {"zero unit copied", std::u16string(u"a\0b", 3), false, false, kEscapeBackslash, std::u16string(u"a\0b", 3)},
      {"empty", u"", true, true, kEscapeBackslash, u""},
      {"unknown kind leaves the text", u"\u4F60", true, true, 3, u"\u4F60"},
  };
  for (const EscapeCase& c : cases) {
    CWString text(c.in);
    EscapeText(text, c.ascii, c.lineBreaks, c.kind);
    EXPECT_EQ(text.Str(), c.out) << c.name;
  }
}

struct UnescapeCase {
  const char* name;
  std::u16string in;
  int kind;
  std::u16string out;
};

TEST(UnescapeText, Kind0Cases) {
  const UnescapeCase cases[] = {
      {"backslash u", u"\\u4F60", kEscapeBackslash, u"\u4F60"},
      {"percent u", u"%u4F60", kEscapeBackslash, u"\u4F60"},
      {"lower-case digits", u"\\u4f60x", kEscapeBackslash, u"\u4F60x"},
      {"surrogate escapes pair up", u"\\uD83D\\uDE00", kEscapeBackslash, u"\U0001F600"},
      {"\\n gives crlf", u"a\\nb", kEscapeBackslash, u"a\r\nb"},
      {"\\r\\n gives one crlf", u"\\r\\n", kEscapeBackslash, u"\r\n"},
      {"lone \\r", u"\\rx", kEscapeBackslash, u"\rx"},
      {"\\t", u"\\t", kEscapeBackslash, u"\t"},
      {"backslash before any other", u"\\q\\\"\\/\\\\", kEscapeBackslash, u"q\"/\\"},
      {"short \\u at the end", u"\\u12", kEscapeBackslash, u"\\u12"},
      {"percent without u", u"50%off", kEscapeBackslash, u"50%off"},
      {"lone backslash at end", u"a\\", kEscapeBackslash, u"a\\"},
      {"lone percent at end", u"a%", kEscapeBackslash, u"a%"},
      {"mend: \\u needs four hex digits (C:\\users)", u"C:\\users", kEscapeBackslash, u"C:\\users"},
      {"mend: %u with bad digits", u"%u12G4", kEscapeBackslash, u"%u12G4"},
      {"mend: nothing after the code is swallowed", u"\\u0041BC", kEscapeBackslash, u"ABC"},
      {"decoded zero keeps what follows", u"A\\u0000B", kEscapeBackslash, std::u16string(u"A\0B", 3)},
      {"html references untouched", u"&#65;", kEscapeBackslash, u"&#65;"},
  };
  for (const UnescapeCase& c : cases) {
    CWString text(c.in);
    UnescapeText(text, c.kind);
    EXPECT_EQ(text.Str(), c.out) << c.name;
  }
}

TEST(UnescapeText, ReferenceCases) {
  const UnescapeCase cases[] = {
      {"decimal", u"&#65;", kEscapeHtmlDecimal, u"A"},
      {"decimal at the end without ;", u"x&#65", kEscapeHtmlDecimal, u"xA"},
      {"hex four digits", u"&#x0041;", kEscapeHtmlHex, u"A"},
      {"hex in kind 2 too", u"&#x4F60;", kEscapeHtmlDecimal, u"\u4F60"},
      {"upper-case X is no reference", u"&#X0041;", kEscapeHtmlHex, u"&#X0041;"},
      {"empty decimal", u"&#;", kEscapeHtmlHex, u"&#;"},
      {"decimal with a non-digit", u"&#6a;", kEscapeHtmlHex, u"&#6a;"},
      {"surrogates written one by one come back", u"&#55357;&#56832;", kEscapeHtmlDecimal, u"\U0001F600"},
      {"nbsp is a blank", u"a&nbsp;b", kEscapeHtmlHex, u"a b"},
      {"rdquo", u"&rdquo;", kEscapeHtmlHex, u"\u201D"},
      {"amp lt gt quot", u"&amp;&lt;&gt;&quot;", kEscapeHtmlDecimal, u"&<>\""},
      {"name is case-sensitive", u"&AMP;", kEscapeHtmlHex, u"&AMP;"},
      {"unknown name", u"&foo;", kEscapeHtmlHex, u"&foo;"},
      {"ampersand then blank", u"a & b", kEscapeHtmlHex, u"a & b"},
      {"lone ampersand at end", u"a&", kEscapeHtmlHex, u"a&"},
      {"backslash escapes untouched", u"\\u0041", kEscapeHtmlHex, u"\\u0041"},
      {"mend: hex with fewer digits", u"&#x41;", kEscapeHtmlHex, u"A"},
      {"mend: hex then a character is not swallowed", u"&#xA9;x", kEscapeHtmlHex, u"\u00A9x"},
      {"mend: hex without ; stays", u"&#x0041 B", kEscapeHtmlHex, u"&#x0041 B"},
      {"mend: hex with bad digit stays", u"&#x00G1;", kEscapeHtmlHex, u"&#x00G1;"},
      {"mend: hex with seven digits stays", u"&#x0000041;", kEscapeHtmlHex, u"&#x0000041;"},
      {"mend: hex without digits stays", u"&#x;", kEscapeHtmlHex, u"&#x;"},
      {"mend: hex above bmp is a pair", u"&#x1F600;", kEscapeHtmlHex, u"\U0001F600"},
      {"mend: decimal above bmp is a pair", u"&#128512;", kEscapeHtmlDecimal, u"\U0001F600"},
      {"mend: highest code point", u"&#x10FFFF;", kEscapeHtmlHex, u"\U0010FFFF"},
      {"mend: highest code point (decimal)", u"&#1114111;", kEscapeHtmlDecimal, u"\U0010FFFF"},
      {"mend: above U+10FFFF stays (hex)", u"&#x110000;", kEscapeHtmlHex, u"&#x110000;"},
      {"mend: above U+10FFFF stays (decimal)", u"&#1114112;", kEscapeHtmlDecimal, u"&#1114112;"},
      {"mend: digit run too long stays", u"&#99999999999999999999999;", kEscapeHtmlDecimal,
       u"&#99999999999999999999999;"},
      {"mend: unterminated name at end stays", u"AT&T", kEscapeHtmlHex, u"AT&T"},
      {"mend: unterminated known name stays", u"x&amp", kEscapeHtmlHex, u"x&amp"},
      {"mend: circ is not A-circumflex", u"&circ;", kEscapeHtmlHex, u"\u02C6"},
      {"mend: ring is not A-ring", u"&ring;", kEscapeHtmlHex, u"\u02DA"},
      {"decoded zero keeps what follows", u"A&#0;B", kEscapeHtmlDecimal, std::u16string(u"A\0B", 3)},
      {"unknown kind leaves the text", u"&#65;", 7, u"&#65;"},
  };
  for (const UnescapeCase& c : cases) {
    CWString text(c.in);
    UnescapeText(text, c.kind);
    EXPECT_EQ(text.Str(), c.out) << c.name;
  }
}

TEST(EscapeCodec, RoundTripPerKind) {
  const std::u16string sample = u"Hello, {\"x\": [1/2]} \\ 'q' 100%u & #; \u4F60\u597D\U0001F600\r\nnext\tcol";
  for (int kind : {kEscapeBackslash, kEscapeHtmlHex, kEscapeHtmlDecimal}) {
    // The ascii flag is set: unescaped, "&" and "%u" in the sample would read as escapes.
    for (bool lineBreaks : {false, true}) {
      CWString text(sample);
      EscapeText(text, true, lineBreaks, kind);
      EXPECT_EQ(text.View().find(u'\u4F60'), std::u16string_view::npos);
      UnescapeText(text, kind);
      EXPECT_EQ(text.Str(), sample) << "kind " << kind << " line breaks " << lineBreaks;
    }
  }
  // Kind 0 with the line-break flag turns a lone LF into CR LF on the way back.
  CWString lf(u"a\nb");
  EscapeText(lf, true, true, kEscapeBackslash);
  UnescapeText(lf, kEscapeBackslash);
  EXPECT_EQ(lf.Str(), u"a\r\nb");
}

TEST(EscapeCodec, RandomTextRoundTripsAndRandomInputDecodesSafely) {
  std::mt19937 rng(20261210);
  const std::u16string alphabet = u"\\%u&#x;0123456789abcdefABCDEFXnrtq\r\n\t \u4F60";
  for (int round = 0; round < 2000; ++round) {
    std::u16string any, tricky;
    const size_t length = rng() % 40;
    for (size_t i = 0; i < length; ++i) {
      any += static_cast<char16_t>(rng() % 0x10000);  // lone surrogates and zeros included
      tricky += alphabet[rng() % alphabet.size()];
    }
    for (int kind : {kEscapeBackslash, kEscapeHtmlHex, kEscapeHtmlDecimal}) {
      // Every unit escaped (line breaks raw for kind 0, which turns LF into CR LF).
      CWString text(any);
      EscapeText(text, true, kind != kEscapeBackslash, kind);
      UnescapeText(text, kind);
      ASSERT_EQ(text.Str(), any) << "kind " << kind;
      // Half-formed escapes: decoding must stay in bounds and never grow wildly.
      CWString messy(tricky);
      UnescapeText(messy, kind);
      EXPECT_LE(messy.GetLength(), tricky.size() * 2);
    }
  }
}

}  // namespace
