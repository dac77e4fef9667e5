// Simplified and traditional Chinese both ways: known pairs, the length kept,
// unmapped units untouched, and the tables built once across threads.
#include "textlib/chinese_script.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/chinese_script_table.h"

namespace {

CWString Converted(const CWString& text, int toTraditional) {
  CWString t = text;
  ConvertChineseScript(t, toTraditional);
  return t;
}

TEST(ConvertChineseScript, ConvertsKnownPairsBothWays) {
  ASSERT_GT(qzu::ChineseScriptTableSize(qzu::ChineseScript::Traditional), 1000u);
  ASSERT_GT(qzu::ChineseScriptTableSize(qzu::ChineseScript::Simplified), 1000u);
  // One character for one: 发 takes the dictionary's default 發.
  EXPECT_EQ(Converted(u"头发", kToTraditionalChinese), CWString(u"頭發"));
  EXPECT_EQ(Converted(u"頭髮", kToSimplifiedChinese), CWString(u"头发"));
  EXPECT_EQ(Converted(u"發展", kToSimplifiedChinese), CWString(u"发展"));
  EXPECT_EQ(Converted(u"发展", kToTraditionalChinese), CWString(u"發展"));
  EXPECT_EQ(Converted(u"头發", kToSimplifiedChinese), CWString(u"头发"));
  EXPECT_EQ(Converted(u"汉语简体字转换", kToTraditionalChinese), CWString(u"漢語簡體字轉換"));
  EXPECT_EQ(Converted(u"漢語簡體字轉換", kToSimplifiedChinese), CWString(u"汉语简体字转换"));
}

TEST(ConvertChineseScript, KeepsTheLengthAndEverythingUnmapped) {
  // ASCII, a NUL inside the text, an emoji pair, a lone surrogate, and a
  // character without a counterpart all stay where they are.
  const std::u16string text = std::u16string(u"abc\0头\U0001F600", 7) + u"\xD800" + u"中";
  const CWString out = Converted(text, kToTraditionalChinese);
  ASSERT_EQ(out.GetLength(), text.size());
  EXPECT_TRUE(out.Str() == std::u16string(u"abc\0頭\U0001F600", 7) + u"\xD800" + u"中");
  EXPECT_EQ(Converted(CWString(), kToTraditionalChinese), CWString());
}

TEST(ConvertChineseScript, EveryTableEntryKeepsTheLength) {
  // A sweep over the whole BMP in both directions.
  std::u16string all;
  for (char32_t c = 0x20; c < 0x10000; ++c)
    if (c < 0xD800 || c > 0xDFFF) all += static_cast<char16_t>(c);
  for (int toTraditional : {kToSimplifiedChinese, kToTraditionalChinese}) {
    CWString t(all);
    ConvertChineseScript(t, toTraditional);
    ASSERT_EQ(t.GetLength(), all.size());
    for (size_t i = 0; i < all.size(); ++i)
      ASSERT_FALSE(t[i] >= 0xD800 && t[i] <= 0xDFFF) << "unit " << i;
  }
}

// A long text converted at once gives what its characters give one by one,
// with surrogate pairs (mapped ones among them), lone surrogates and pairs
// at every offset, across the edges of the pieces the converter works in.
TEST(ConvertChineseScript, LongTextIsItsCharactersConvertedAlone) {
  for (int toTraditional : {kToSimplifiedChinese, kToTraditionalChinese}) {
    // The supplementary characters of plane 2 that this direction changes.
    std::vector<std::u16string> mapped;
    for (char32_t c = 0x20000; c < 0x30000; ++c) {
      const std::u16string pair{static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)),
                                static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF))};
      if (Converted(pair, toTraditional).Str() != pair) mapped.push_back(pair);
    }
    ASSERT_FALSE(mapped.empty());
    const std::u16string pieces[] = {u"头", u"發", u"a", u"中", u"\U00020BB7", u"\xD800", u"\xDC00", u"汉语"};
    std::mt19937 rng(toTraditional + 5);
    std::u16string text, expected;
    while (text.size() < 20000) {
      const std::u16string piece = rng() % 4 == 0 ? mapped[rng() % mapped.size()] : pieces[rng() % 8];
      // A lone high surrogate must not meet a low one by chance.
      if (piece == u"\xDC00" && !text.empty() && (text.back() & 0xFC00) == 0xD800) continue;
      if (!text.empty() && (text.back() & 0xFC00) == 0xD800 && (piece[0] & 0xFC00) == 0xDC00) continue;
      text += piece;
      expected += Converted(piece, toTraditional).Str();
    }
    for (size_t cut : {size_t{0}, size_t{1}, size_t{3}, size_t{7}}) {
      const CWString out = Converted(text.substr(cut), toTraditional);
      // The cut may leave half a pair at the front, which stays as it is.
      ASSERT_EQ(out.GetLength(), text.size() - cut);
      EXPECT_TRUE(out.Str().substr(2) == expected.substr(cut + 2)) << "cut " << cut;
    }
  }
}

// The converter against a plain scan: every character converted on its own
// (one or two units, too short for the converter's wide steps), a pair where
// a high surrogate meets a low one, any other unit alone. Each case is tried
// at every offset and length around the steps of the wide loop.
std::u16string PlainScan(const std::u16string& text, int toTraditional) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                      text[i + 1] <= 0xDFFF;
    out += Converted(text.substr(i, pair ? 2 : 1), toTraditional).Str();
    if (pair) ++i;
  }
  return out;
}

TEST(ConvertChineseScript, MatchesAPlainScanAtEveryOffset) {
  // 𫃗 has a traditional form, 𩀨 a simplified one, both beyond the BMP.
  const std::u16string mappedPair[] = {u"\U0002B0D7", u"\U00029028"};
  ASSERT_EQ(Converted(mappedPair[0], kToTraditionalChinese), CWString(u"\U000293F7"));
  ASSERT_EQ(Converted(mappedPair[1], kToSimplifiedChinese), CWString(u"\U0002B55A"));
  struct Case {
    const char* name;
    std::u16string piece;
  };
  const Case cases[] = {
      {"one unit", u"头"},
      {"ASCII run", u"abcdefghijklmnopqrstuvwxyz0123456789"},
      {"unmapped pair", u"\U0001F600"},
      {"pair of plane 2", u"\U00020BB7"},
      {"mapped pair", mappedPair[0]},
      {"two mapped pairs", mappedPair[0] + mappedPair[1]},
      {"lone high surrogate", u"\xD800"},
      {"lone low surrogate", u"\xDC00"},
      {"low then high", u"\xDC00\xD800"},
      {"high before a pair", std::u16string(u"\xD842") + mappedPair[1]},
      {"high before a Chinese unit", u"\xD842发"},
      {"pairs back to back", u"\U00020BB7\U00029E3D\U0001F600\U00020BB7"},
  };
  for (int toTraditional : {kToSimplifiedChinese, kToTraditionalChinese}) {
    for (const Case& c : cases) {
      for (size_t before = 0; before <= 34; ++before) {
        for (size_t after : {size_t{0}, size_t{1}, size_t{7}, size_t{16}}) {
          // Mapped Chinese around the piece, so a unit left out shows.
          std::u16string text;
          while (text.size() < before) text += u"发";
          text += c.piece;
          for (size_t k = 0; k < after; ++k) text += u"頭";
          const CWString out = Converted(text, toTraditional);
          ASSERT_TRUE(out.Str() == PlainScan(text, toTraditional))
              << c.name << ", " << before << " units before, " << after << " after, direction " << toTraditional;
        }
      }
    }
  }
}

// Every BMP unit and every supplementary character of planes 2 and 3 (where
// the dictionaries' supplementary entries are), in one text, against the
// same plain scan.
TEST(ConvertChineseScript, WholeRangeMatchesAPlainScan) {
  std::u16string all;
  for (char32_t c = 0; c < 0x10000; ++c) all += static_cast<char16_t>(c);  // surrogates too, unpaired
  for (char32_t c = 0x20000; c < 0x40000; ++c) {
    all += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
    all += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  }
  for (int toTraditional : {kToSimplifiedChinese, kToTraditionalChinese}) {
    const std::u16string want = PlainScan(all, toTraditional);
    EXPECT_NE(want, all);
    for (size_t cut : {size_t{0}, size_t{1}, size_t{9}}) {
      const std::u16string text = all.substr(cut);
      EXPECT_TRUE(Converted(text, toTraditional).Str() == PlainScan(text, toTraditional)) << "cut " << cut;
    }
  }
}

TEST(ConvertChineseScript, FirstUseFromSeveralThreads) {
  std::vector<std::thread> threads;
  std::vector<CWString> results(8);
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&results, i] {
      results[static_cast<size_t>(i)] = Converted(u"头发", i % 2 ? kToTraditionalChinese : kToSimplifiedChinese);
    });
  for (auto& t : threads) t.join();
  for (int i = 0; i < 8; ++i) EXPECT_EQ(results[static_cast<size_t>(i)], CWString(i % 2 ? u"頭發" : u"头发"));
}

}  // namespace
