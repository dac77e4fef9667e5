// Simplified and traditional Chinese both ways: known pairs, the length kept,
// unmapped units untouched, and the tables built once across threads.
#include "textlib/chinese_script.h"

#include <gtest/gtest.h>

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
