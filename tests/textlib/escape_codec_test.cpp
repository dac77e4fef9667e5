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
      {"json punctuation keeps its backslash", u"a/\u00E9", false, false, 0, u"a\\/\\u00E9"},
      {"ascii flag escapes letters, slash stays", u"a/\u00E9", true, false, 0, u"\\u0061\\/\\u00E9"},
      {"all json punctuation", u"\"'\\/{}[]", false, false, 0, u"\\\"\\'\\\\\\/\\{\\}\\[\\]"},
      {"crlf becomes one \\n", u"\r\n", false, true, 0, u"\\n"},
      {"lone cr", u"\r", false, true, 0, u"\\r"},
      {"tab", u"\t", false, true, 0, u"\\t"},
      {"cr cr lf", u"\r\r\n", false, true, 0, u"\\r\\n"},
      {"line breaks stay raw without their flag", u"\r\n\t", true, false, 0, u"\r\n\t"},
      {"kind 1 lf", u"\n", false, true, 1, u"&#x000A;"},
      {"kind 1 cr", u"\r", false, true, 1, u"&#x000D;"},
      {"kind 2 lf", u"\n", false, true, 2, u"&#10;"},
      {"kind 1 cjk, upper-case digits", u"\u4F60a", false, false, 1, u"&#x4F60;a"},
      {"kind 2 cjk", u"\u4F60a", false, false, 2, u"&#20320;a"},
      {"kind 2 emoji per surrogate", u"\U0001F600", false, false, 2, u"&#55357;&#56832;"},
      {"kind 0 emoji per surrogate", u"\U0001F600", false, false, 0, u"\\uD83D\\uDE00"},
      {"kind 1 punctuation is plain ascii", u"/&", false, false, 1, u"/&"},
      {"kind 2 ascii flag", u"A&", true, false, 2, u"&#65;&#38;"},
      {"zero unit is data", std::u16string(u"a\0b", 3), true, false, 2, u"&#97;&#0;&#98;"},
      {"zero unit copied", std::u16string(u"a\0b", 3), false, false, 0, std::u16string(u"a\0b", 3)},
      {"empty", u"", true, true, 0, u""},
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
      {"backslash u", u"\\u4F60", 0, u"\u4F60"},
      {"percent u", u"%u4F60", 0, u"\u4F60"},
      {"lower-case digits", u"\\u4f60x", 0, u"\u4F60x"},
      {"surrogate escapes pair up", u"\\uD83D\\uDE00", 0, u"\U0001F600"},
      {"\\n gives crlf", u"a\\nb", 0, u"a\r\nb"},
      {"\\r\\n gives one crlf", u"\\r\\n", 0, u"\r\n"},
      {"lone \\r", u"\\rx", 0, u"\rx"},
      {"\\t", u"\\t", 0, u"\t"},
      {"backslash before any other", u"\\q\\\"\\/\\\\", 0, u"q\"/\\"},
      {"short \\u at the end", u"\\u12", 0, u"\\u12"},
      {"percent without u", u"50%off", 0, u"50%off"},
      {"lone backslash at end", u"a\\", 0, u"a\\"},
      {"lone percent at end", u"a%", 0, u"a%"},
      {"mend: \\u needs four hex digits (C:\\users)", u"C:\\users", 0, u"C:\\users"},
      {"mend: %u with bad digits", u"%u12G4", 0, u"%u12G4"},
      {"mend: nothing after the code is swallowed", u"\\u0041BC", 0, u"ABC"},
      {"decoded zero keeps what follows", u"A\\u0000B", 0, std::u16string(u"A\0B", 3)},
      {"html references untouched", u"&#65;", 0, u"&#65;"},
  };
  for (const UnescapeCase& c : cases) {
    CWString text(c.in);
    UnescapeText(text, c.kind);
    EXPECT_EQ(text.Str(), c.out) << c.name;
  }
}

TEST(UnescapeText, ReferenceCases) {
  const UnescapeCase cases[] = {
      {"decimal", u"&#65;", 2, u"A"},
      {"decimal at the end without ;", u"x&#65", 2, u"xA"},
      {"hex four digits", u"&#x0041;", 1, u"A"},
      {"hex in kind 2 too", u"&#x4F60;", 2, u"\u4F60"},
      {"upper-case X is no reference", u"&#X0041;", 1, u"&#X0041;"},
      {"empty decimal", u"&#;", 1, u"&#;"},
      {"decimal with a non-digit", u"&#6a;", 1, u"&#6a;"},
      {"surrogates written one by one come back", u"&#55357;&#56832;", 2, u"\U0001F600"},
      {"nbsp is a blank", u"a&nbsp;b", 1, u"a b"},
      {"rdquo", u"&rdquo;", 1, u"\u201D"},
      {"amp lt gt quot", u"&amp;&lt;&gt;&quot;", 2, u"&<>\""},
      {"name is case-sensitive", u"&AMP;", 1, u"&AMP;"},
      {"unknown name", u"&foo;", 1, u"&foo;"},
      {"ampersand then blank", u"a & b", 1, u"a & b"},
      {"lone ampersand at end", u"a&", 1, u"a&"},
      {"backslash escapes untouched", u"\\u0041", 1, u"\\u0041"},
      {"mend: hex with fewer digits", u"&#x41;", 1, u"A"},
      {"mend: hex then a character is not swallowed", u"&#xA9;x", 1, u"\u00A9x"},
      {"mend: hex without ; stays", u"&#x0041 B", 1, u"&#x0041 B"},
      {"mend: hex with bad digit stays", u"&#x00G1;", 1, u"&#x00G1;"},
      {"mend: hex with seven digits stays", u"&#x0000041;", 1, u"&#x0000041;"},
      {"mend: hex without digits stays", u"&#x;", 1, u"&#x;"},
      {"mend: hex above bmp is a pair", u"&#x1F600;", 1, u"\U0001F600"},
      {"mend: decimal above bmp is a pair", u"&#128512;", 2, u"\U0001F600"},
      {"mend: highest code point", u"&#x10FFFF;", 1, u"\U0010FFFF"},
      {"mend: above U+10FFFF stays (hex)", u"&#x110000;", 1, u"&#x110000;"},
      {"mend: above U+10FFFF stays (decimal)", u"&#1114112;", 2, u"&#1114112;"},
      {"mend: digit run too long stays", u"&#99999999999999999999999;", 2, u"&#99999999999999999999999;"},
      {"mend: unterminated name at end stays", u"AT&T", 1, u"AT&T"},
      {"mend: unterminated known name stays", u"x&amp", 1, u"x&amp"},
      {"mend: circ is not A-circumflex", u"&circ;", 1, u"\u02C6"},
      {"mend: ring is not A-ring", u"&ring;", 1, u"\u02DA"},
      {"decoded zero keeps what follows", u"A&#0;B", 2, std::u16string(u"A\0B", 3)},
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
  for (int kind = 0; kind <= 2; ++kind) {
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
  EscapeText(lf, true, true, 0);
  UnescapeText(lf, 0);
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
    for (int kind = 0; kind <= 2; ++kind) {
      // Every unit escaped (line breaks raw for kind 0, which turns LF into CR LF).
      CWString text(any);
      EscapeText(text, true, kind != 0, kind);
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
