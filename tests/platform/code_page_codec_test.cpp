// The code-page codec: the double-byte lookup tables against ICU on random
// input and on every code, best fits, the system code page and its names.
#include <gtest/gtest.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

#include "common/utf.h"
#include "platform/code_page_codec.h"
#include "platform/system_code_page.h"

namespace {

// Windows writes "?" for every character it cannot map, default-ignorables
// included (ICU's own substitute callback skips those).
void QuestionMark(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t, UChar32,
                  UConverterCallbackReason reason, UErrorCode* err) {
  if (reason > UCNV_IRREGULAR) return;
  *err = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, "?", 1, 0, err);
}

// ICU's own converter, driven the plain way, as the reference the lookup
// tables must match byte for byte.
std::u16string IcuDecode(const char* name, const std::string& bytes) {
  UErrorCode err = U_ZERO_ERROR;
  UConverter* cnv = ucnv_open(name, &err);
  std::u16string out(bytes.size() * 2 + 4, u'\0');
  const int32_t n = ucnv_toUChars(cnv, reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                                  bytes.data(), static_cast<int32_t>(bytes.size()), &err);
  ucnv_close(cnv);
  out.resize(U_SUCCESS(err) ? static_cast<size_t>(n) : 0);
  return out;
}

bool IsControl(UChar32 c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// Encodes one character at a time with best fits on; a best fit that reads
// back as a control character from one that is none is written as "?".
std::string IcuEncode(const char* name, const std::u16string& text) {
  UErrorCode err = U_ZERO_ERROR;
  UConverter* cnv = ucnv_open(name, &err);
  ucnv_setFallback(cnv, true);
  ucnv_setFromUCallBack(cnv, QuestionMark, nullptr, nullptr, nullptr, &err);
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const size_t n = (i + 1 < text.size() && (text[i] & 0xFC00) == 0xD800 && (text[i + 1] & 0xFC00) == 0xDC00) ? 2 : 1;
    const UChar32 c = n == 2 ? 0x10000 + ((text[i] - 0xD800) << 10) + (text[i + 1] - 0xDC00) : text[i];
    char bytes[16];
    err = U_ZERO_ERROR;
    ucnv_resetFromUnicode(cnv);
    const int32_t length = ucnv_fromUChars(cnv, bytes, sizeof bytes, reinterpret_cast<const UChar*>(&text[i]),
                                           static_cast<int32_t>(n), &err);
    const std::u16string back = IcuDecode(name, std::string(bytes, static_cast<size_t>(length)));
    out += back.size() == 1 && IsControl(back[0]) && !IsControl(c) ? std::string("?")
                                                                    : std::string(bytes, static_cast<size_t>(length));
    i += n;
  }
  ucnv_close(cnv);
  return out;
}

std::u16string Decode(const qzu::CharsetCodec& codec, const std::string& bytes) {
  std::u16string out;
  codec.Decode(bytes, out);
  return out;
}

std::string Encode(const qzu::CharsetCodec& codec, const std::u16string& text) {
  std::string out;
  codec.Encode(text, out);
  return out;
}

}  // namespace

TEST(CodePageCodec, DoubleByteTablesMatchIcuOnRandomInput) {
  std::mt19937 rng(12345);
  for (int codePage : {936, 950, 949, 932}) {
    auto codec = qzu::CodePageCodec(codePage);
    ASSERT_TRUE(codec) << codePage;
    const std::string name = codec->Name();
    for (int round = 0; round < 300; ++round) {
      // Random bytes, biased toward lead bytes so that pairs, bad trails and
      // cut-off leads all occur.
      std::string bytes(1 + rng() % 40, '\0');
      for (char& b : bytes) b = static_cast<char>(rng() % 3 ? 0x80 + rng() % 128 : rng() % 256);
      ASSERT_EQ(Decode(*codec, bytes), IcuDecode(name.c_str(), bytes)) << codePage << " round " << round;

      // Random units: ASCII runs, BMP, surrogates alone and in pairs, NULs.
      std::u16string text(1 + rng() % 40, u'\0');
      for (char16_t& u : text) {
        const unsigned kind = rng() % 6;
        u = static_cast<char16_t>(kind < 2 ? rng() % 0x80 : kind < 5 ? rng() % 0x10000 : 0xD800 + rng() % 0x800);
      }
      if (round % 3 == 0) text += u"\U0001F600\0x";
      ASSERT_EQ(Encode(*codec, text), IcuEncode(name.c_str(), text)) << codePage << " round " << round;
    }
  }
}

// Decoding straight to UTF-8 gives the UTF-8 of the decoded units, and input
// cut after the prefix that stands on its own decodes as it does whole.
TEST(CodePageCodec, DoubleByteTablesDecodeStraightToUtf8) {
  std::mt19937 rng(777);
  for (int codePage : {936, 950, 949, 932}) {
    auto codec = qzu::CodePageCodec(codePage);
    ASSERT_TRUE(codec) << codePage;
    // The Chinese code pages offer it; another may leave it to the two steps.
    if (codePage == 936 || codePage == 950) {
      ASSERT_GT(codec->MaxUtf8Bytes(1), 0u) << codePage;
    }
    if (codec->MaxUtf8Bytes(1) == 0) continue;
    int cuts = 0;
    for (int round = 0; round < 400; ++round) {
      // ASCII runs long enough for the sixteen-byte steps, lead bytes, bad
      // trails, control bytes and a possibly cut-off last lead.
      std::string bytes(rng() % 200, '\0');
      const int asciiPercent = static_cast<int>(rng() % 80);
      for (char& b : bytes)
        b = static_cast<char>(static_cast<int>(rng() % 100) < asciiPercent ? 0x20 + rng() % 0x60
                              : rng() % 4                                 ? 0x80 + rng() % 128
                                                                          : rng() % 256);
      std::u16string units(codec->MaxUnits(bytes.size()), u'\0');
      units.resize(codec->DecodeInto(bytes, units.data()));
      std::string utf8(codec->MaxUtf8Bytes(bytes.size()), '\0');
      utf8.resize(codec->DecodeToUtf8Into(bytes, utf8.data()));
      ASSERT_EQ(utf8, qzu::Utf16ToUtf8(units)) << codePage << " round " << round;

      const size_t cut = codec->IndependentPrefix(bytes);
      ASSERT_LE(cut, bytes.size());
      if (cut == 0 || cut == bytes.size()) continue;
      ++cuts;
      std::u16string apart;
      codec->Decode(std::string_view(bytes).substr(0, cut), apart);
      codec->Decode(std::string_view(bytes).substr(cut), apart);
      ASSERT_EQ(apart, units) << codePage << " round " << round << " cut " << cut;
    }
    EXPECT_GT(cuts, 100) << codePage;
  }
}

TEST(CodePageCodec, WindowsTableOf936) {
  auto codec = qzu::CodePageCodec(936);
  ASSERT_TRUE(codec);
  EXPECT_EQ(Decode(*codec, "\x80\xFF\xD6\xD0"), u"\u20AC\uF8F5中");
  EXPECT_EQ(Decode(*codec, std::string("A\0B", 3)), std::u16string(u"A\0B", 3));
  EXPECT_EQ(Decode(*codec, "\xAA\xA1"), u"\uE000");  // user-defined area -> private use
  EXPECT_EQ(Encode(*codec, u"中\u00A5\u00A2\u00B3\u034F"), "\xD6\xD0\xA3\xA4\xA1\xE9" "3?");
  EXPECT_EQ(Encode(*codec, std::u16string(u"A\0", 2)), std::string("A\0", 2));
}

// Windows' own code page 936 writes "?" for the halfwidth arrows and the
// white circle, while ICU's fallbacks give ESC, CAN, SUB, EM and TAB; the
// glyphs of the old PC code pages would give control bytes the same way.
TEST(CodePageCodec, BestFitsNeverMakeControlCharacters) {
  std::u16string everyCharacter;  // the BMP without controls and surrogates
  for (uint32_t u = 0x20; u < 0x10000; ++u)
    if (!IsControl(u) && (u < 0xD800 || u > 0xDFFF)) everyCharacter += static_cast<char16_t>(u);
  for (const char* name : {"windows-936", "windows-950", "windows-949", "windows-932", "ibm-437", "cp866", "ibm852",
                           "windows-874", "iso-8859-2", "windows-1252", "hz-gb-2312"}) {
    auto codec = qzu::OpenCharset(name);
    ASSERT_TRUE(codec) << name;
    const std::u16string back = Decode(*codec, Encode(*codec, everyCharacter));
    for (const char16_t c : back) ASSERT_FALSE(IsControl(c)) << name << " gives U+" << std::hex << int(c);
  }
  auto gbk = qzu::CodePageCodec(936);
  EXPECT_EQ(Encode(*gbk, u"\uFFE9\uFFEA\uFFEB\uFFEC\uFFEE"), "?????");
  EXPECT_EQ(Encode(*gbk, u"\u00A5\u00B3\uFFE5"), "\xA3\xA4" "3\xA3\xA4");  // other best fits stay
  EXPECT_EQ(Encode(*qzu::OpenCharset("ibm-437"), u"\u2190\u00E9\u2500"), "?\x82\xC4");
  EXPECT_EQ(Encode(*gbk, std::u16string(u"\t\x1B\x7F", 3)), "\t\x1B\x7F");  // controls stay themselves
}

TEST(CodePageCodec, EveryDoubleByteCodeRoundTrips) {
  auto codec = qzu::CodePageCodec(936);
  ASSERT_TRUE(codec);
  int mapped = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string text = Decode(*codec, bytes);
      ASSERT_EQ(text.size(), 1u);
      if (text[0] == 0xFFFD) continue;
      ++mapped;
      EXPECT_EQ(Encode(*codec, text), bytes) << std::hex << lead << " " << trail;
    }
  }
  EXPECT_GT(mapped, 23000);
}

TEST(CodePageCodec, SystemCodePageAndNames) {
  const int saved = GetSystemCodePage();
  SetSystemCodePage(437);
  EXPECT_EQ(Decode(*qzu::SystemCodePageCodec(), "\x82"), u"é");
  SetSystemCodePage(12345);  // nothing knows it: the program's default table
  EXPECT_EQ(Decode(*qzu::SystemCodePageCodec(), "\xD6\xD0"), u"中");
  SetSystemCodePage(saved);

  EXPECT_EQ(Decode(*qzu::OpenCharset("iso-8859-1"), "\x80"), u"\u20AC");  // code page 1252 on Windows
  EXPECT_EQ(Decode(*qzu::OpenCharset("KOI8-RU"), "\xA4"), u"\u0454");     // KOI8-U
  EXPECT_EQ(Decode(*qzu::OpenCharset("GBK"), "\x80"), u"\u20AC");
  EXPECT_EQ(qzu::OpenCharset(""), nullptr);
  EXPECT_EQ(qzu::OpenCharset("no-such"), nullptr);
  EXPECT_EQ(qzu::OpenCharset("utf 8"), nullptr);
  EXPECT_EQ(qzu::CodePageCodec(0), nullptr);
}

TEST(CodePageCodec, FirstUseFromManyThreads) {
  // The tables are built once, whichever thread comes first.
  std::vector<std::thread> threads;
  std::vector<std::u16string> results(8);
  for (size_t i = 0; i < results.size(); ++i)
    threads.emplace_back([&results, i] { results[i] = Decode(*qzu::CodePageCodec(949), "\xC7\xD1"); });
  for (auto& t : threads) t.join();
  for (const auto& r : results) EXPECT_EQ(r, u"한");
}
