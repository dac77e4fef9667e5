// URL encoding and decoding per charset, hexadecimal digits, round trips and
// random input.
#include <gtest/gtest.h>

#include <random>

#include "platform/system_code_page.h"
#include "textlib/url_codec.h"

namespace {

struct EncodeCase {
  const char* name;
  std::u16string in;
  int mode;
  bool ascii, lineBreaks, queryMarks;
  const char16_t* charset;
  std::u16string out;
};

TEST(UrlEncode, Cases) {
  ASSERT_EQ(GetSystemCodePage(), 936);
  const EncodeCase cases[] = {
      {"blank plus percent always", u"a b+c%", kUrlUtf8, false, false, false, u"", u"a%20b%2Bc%25"},
      {"utf-8 bytes", u"\u4F60", kUrlUtf8, false, false, false, u"", u"%E4%BD%A0"},
      {"system code page bytes", u"\u4F60", kUrlSystemCodePage, false, false, false, u"", u"%C4%E3"},
      {"euro in code page 936", u"\u20AC", kUrlSystemCodePage, false, false, false, u"", u"%80"},
      {"emoji in utf-8", u"\U0001F600", kUrlUtf8, false, false, false, u"", u"%F0%9F%98%80"},
      {"ascii flag", u"aZ9-", kUrlUtf8, true, false, false, u"", u"%61%5A%39%2D"},
      {"ascii flag leaves breaks and query marks", u"\r\n&=?", kUrlUtf8, true, false, false, u"", u"\r\n&=?"},
      {"line-break flag", u"\r\n", kUrlUtf8, false, true, false, u"", u"%0D%0A"},
      {"query-mark flag", u"a&b=c?", kUrlUtf8, false, false, true, u"", u"a%26b%3Dc%3F"},
      {"utf-16be, zero bytes always encoded", u"a\u4F60", kUrlUtf16, false, false, false, u"", u"%00aO`"},
      {"utf-16be with the ascii flag", u"a", kUrlUtf16, true, false, false, u"", u"%00%61"},
      {"zero unit is data", std::u16string(u"a\0b", 3), kUrlUtf8, false, false, false, u"", u"a%00b"},
      {"named charset", u"\u4F60", kUrlSystemCodePage, false, false, false, u"UTF-8", u"%E4%BD%A0"},
      {"named charset big5", u"\u4E2D", kUrlSystemCodePage, false, false, false, u"Big5", u"%A4%A4"},
      {"charset ignored outside the code-page mode", u"\u4F60", kUrlUtf8, false, false, false, u"Big5", u"%E4%BD%A0"},
      {"unknown charset gives nothing", u"\u4F60", kUrlSystemCodePage, false, false, false, u"no-such-charset", u""},
      {"empty", u"", kUrlUtf8, true, true, true, u"", u""},
  };
  for (const EncodeCase& c : cases) {
    CWString text(c.in);
    CWString charset(c.charset);
    UrlEncode(text, c.mode, c.ascii, c.lineBreaks, c.queryMarks, charset);
    EXPECT_EQ(text.Str(), c.out) << c.name;
  }
}

TEST(UrlEncode, RewritesTheCallersCharsetName) {
  CWString text(u"\u4F60");
  CWString charset(u"ansi");
  UrlEncode(text, kUrlSystemCodePage, false, false, false, charset);
  EXPECT_EQ(text, u"%C4%E3");
  EXPECT_EQ(charset, u"GBK");
}

struct DecodeCase {
  const char* name;
  std::u16string in;
  int mode;
  const char16_t* charset;
  std::u16string out;
};

TEST(UrlDecode, Cases) {
  ASSERT_EQ(GetSystemCodePage(), 936);
  const DecodeCase cases[] = {
      {"utf-8 escapes", u"%E4%BD%A0", kUrlUtf8, u"", u"\u4F60"},
      {"typed character unchanged", u"\u4F60", kUrlUtf8, u"", u"\u4F60"},
      {"typed between escapes", u"%E4%BD%A0\u597D%E4%BD%A0", kUrlUtf8, u"", u"\u4F60\u597D\u4F60"},
      {"system code page", u"%C4%E3", kUrlSystemCodePage, u"", u"\u4F60"},
      {"typed between code page escapes", u"%C4%E3\u597D%C4%E3x", kUrlSystemCodePage, u"", u"\u4F60\u597D\u4F60x"},
      {"short escape at the end", u"a%2", kUrlUtf8, u"", u"a%2"},
      {"not hexadecimal", u"%zz", kUrlUtf8, u"", u"%zz"},
      {"digits in either case", u"%4a%4A", kUrlUtf8, u"", u"JJ"},
      {"plus stays", u"a+b", kUrlUtf8, u"", u"a+b"},
      {"lone percent", u"100%", kUrlSystemCodePage, u"", u"100%"},
      {"zero byte keeps what follows", u"a%00b", kUrlUtf8, u"", std::u16string(u"a\0b", 3)},
      {"named charset", u"%A4%A4", kUrlSystemCodePage, u"Big5", u"\u4E2D"},
      {"utf-16le in other modes", u"%60%4FA%00", kUrlUtf16, u"", u"\u4F60A"},
      {"unknown charset gives nothing", u"abc", kUrlSystemCodePage, u"no-such-charset", u""},
      {"mend: typed emoji stays one character (utf-8)", u"a\U0001F600b", kUrlUtf8, u"", u"a\U0001F600b"},
      {"mend: typed emoji stays one character (code page)", u"%C4%E3\U0001F600", kUrlSystemCodePage, u"",
       u"\u4F60\U0001F600"},
      {"mend: decoded FF bytes are not a placeholder", u"%FF%FF%FF\u4F60", kUrlUtf8, u"", u"\uFFFD\uFFFD\uFFFD\u4F60"},
      {"typed lone surrogate kept",
       u"a\xD800"
       u"b",
       kUrlUtf8, u"",
       u"a\xD800"
       u"b"},
      {"empty", u"", kUrlSystemCodePage, u"", u""},
  };
  for (const DecodeCase& c : cases) {
    CWString text(c.in);
    CWString charset(c.charset);
    UrlDecode(text, c.mode, charset);
    EXPECT_EQ(text.Str(), c.out) << c.name;
  }
}

TEST(UrlDecode, RewritesTheCallersCharsetNameEvenWithoutBytes) {
  CWString text(u"\u4F60");
  CWString charset(u"ANSI");
  UrlDecode(text, kUrlSystemCodePage, charset);
  EXPECT_EQ(text, u"\u4F60");
  EXPECT_EQ(charset, u"GBK");
}

TEST(ToHexDigits, Cases) {
  const std::pair<int, const char*> cases[] = {
      {0, "00"}, {10, "0A"}, {255, "FF"}, {256, "100"}, {0x7FFFFFFF, "7FFFFFFF"}, {-1, ""}, {-5, ""}};
  for (const auto& [value, digits] : cases) {
    const rg_Ombrine_base::rg_ZiFuShuZuLei d = ToHexDigits(value);
    EXPECT_EQ(std::string(d.Items().begin(), d.Items().end()), digits) << value;
  }
}

TEST(UrlCodec, RoundTripsAndRandomInput) {
  std::mt19937 rng(42);
  const std::u16string alphabet = u"%%%0123456789abcdefABCDEFxyz+ &=?\r\n\u4F60\u597D\xD83D\xDE00\xFF";
  for (int round = 0; round < 1000; ++round) {
    // Well-formed text of letters, CJK and an emoji: every mode-1 form comes back.
    std::u16string sample;
    for (size_t i = rng() % 20; i > 0; --i) {
      switch (rng() % 4) {
        case 0: sample += static_cast<char16_t>(rng() % 0x7F); break;
        case 1: sample += static_cast<char16_t>(0x4E00 + rng() % 0x5000); break;
        case 2: sample += u"\U0001F600"; break;
        default: sample += u"%+&=? "[rng() % 6]; break;
      }
    }
    for (int flags = 0; flags < 8; ++flags) {
      CWString text(sample);
      UrlEncode(text, kUrlUtf8, flags & 1, flags & 2, flags & 4);
      UrlDecode(text, kUrlUtf8);
      ASSERT_EQ(text.Str(), sample) << "flags " << flags;
    }
    // Random half-formed input through every mode stays in bounds.
    std::u16string messy;
    for (size_t i = rng() % 30; i > 0; --i) messy += alphabet[rng() % alphabet.size()];
    for (int mode : {kUrlSystemCodePage, kUrlUtf8, kUrlUtf16}) {
      CWString text(messy);
      UrlDecode(text, mode);
      EXPECT_LE(text.GetLength(), messy.size());
    }
  }
}

}  // namespace
