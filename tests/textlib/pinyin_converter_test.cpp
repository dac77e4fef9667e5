// Chinese to pinyin: the forms, modes, templates and percentages of the
// conversion, damaged tables, and the lookup built once.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "common/stream.h"
#include "platform/random_seed.h"
#include "platform/resource_loader.h"
#include "textlib/pinyin_converter.h"
#include "textlib/pinyin_syllables.h"

using rg_Tavelkin_MingLingJi::rg_TavelkinHanZiPinYinLei;
using namespace std::string_view_literals;

namespace {

constexpr int kToneless = 0, kToned = 1;

CWString Convert(rg_TavelkinHanZiPinYinLei& c, std::u16string_view text, int capital, int tone,
                 std::u16string_view sep = u"", int mode = 0, std::u16string_view tpl = u"", int percent = 100) {
  return c.ConvertToPinyin(CWString(text), capital, tone, CWString(sep), mode, CWString(tpl), percent);
}

// The readings of the characters of ChineseSample, written out (Unihan's
// first kMandarin reading; 〇 is líng).
const std::map<char16_t, std::pair<std::u16string_view, std::u16string_view>> kSampleReadings = {
    {u'中', {u"zhōng", u"zhong"}}, {u'华', {u"huá", u"hua"}},     {u'人', {u"rén", u"ren"}},
    {u'民', {u"mín", u"min"}},     {u'共', {u"gòng", u"gong"}},   {u'和', {u"hé", u"he"}},
    {u'国', {u"guó", u"guo"}},     {u'成', {u"chéng", u"cheng"}}, {u'立', {u"lì", u"li"}},
    {u'于', {u"yú", u"yu"}},       {u'一', {u"yī", u"yi"}},       {u'九', {u"jiǔ", u"jiu"}},
    {u'四', {u"sì", u"si"}},       {u'年', {u"nián", u"nian"}},   {u'〇', {u"líng", u"ling"}},
    {u'月', {u"yuè", u"yue"}},     {u'拼', {u"pīn", u"pin"}},     {u'音', {u"yīn", u"yin"}},
    {u'汉', {u"hàn", u"han"}},     {u'字', {u"zì", u"zi"}},       {u'转', {u"zhuǎn", u"zhuan"}},
    {u'换', {u"huàn", u"huan"}},   {u'测', {u"cè", u"ce"}},       {u'试', {u"shì", u"shi"}},
    {u'文', {u"wén", u"wen"}},     {u'本', {u"běn", u"ben"}},     {u'编', {u"biān", u"bian"}},
    {u'码', {u"mǎ", u"ma"}},       {u'解', {u"jiě", u"jie"}},     {u'乱', {u"luàn", u"luan"}},
    {u'修', {u"xiū", u"xiu"}},     {u'复', {u"fù", u"fu"}},       {u'批', {u"pī", u"pi"}},
    {u'量', {u"liàng", u"liang"}}, {u'件', {u"jiàn", u"jian"}},   {u'夹', {u"jiā", u"jia"}},
};

std::u16string ReadingOf(char16_t ch, int tone) {
  const auto& reading = kSampleReadings.at(ch);
  return std::u16string(tone == kToned ? reading.first : reading.second);
}

// 3000 characters from the CJK block with readings, in a repeating mix.
std::u16string ChineseSample(size_t count) {
  const std::u16string base = u"中华人民共和国成立于一九四九年〇月拼音汉字转换测试文本编码解码乱码修复批量文件夹";
  std::u16string text;
  while (text.size() < count) text += base;
  text.resize(count);
  return text;
}

// The pinyin of a sample text with every character converted, syllables
// joined by `separator`, capitalised on request.
std::u16string SamplePinyin(std::u16string_view text, bool capital, int tone, std::u16string_view separator) {
  std::u16string out;
  for (const char16_t ch : text) {
    std::u16string syllable = ReadingOf(ch, tone);
    if (capital && syllable[0] >= u'a' && syllable[0] <= u'z') syllable[0] = static_cast<char16_t>(syllable[0] - 32);
    if (!out.empty()) out += separator;
    out += syllable;
  }
  return out;
}

}  // namespace

TEST(PinyinConverter, KnownCharactersInEachForm) {
  rg_TavelkinHanZiPinYinLei c;
  struct Case {
    std::u16string_view text;
    int capital, tone;
    std::u16string_view expected;
  } cases[] = {
      {u"中", 0, kToned, u"zhōng"},  {u"中", 0, kToneless, u"zhong"}, {u"中", 1, kToneless, u"Zhong"},
      {u"中", 1, kToned, u"Zhōng"},  {u"〇", 0, kToned, u"líng"},     {u"〇", 1, kToneless, u"Ling"},
      {u"〇", 1, kToned, u"Líng"},   {u"绿", 0, kToneless, u"lv"},    {u"绿", 0, kToned, u"lǜ"},
      // A toned syllable that starts with a marked vowel keeps it lower-case.
      {u"爱", 1, kToned, u"ài"},     {u"爱", 1, kToneless, u"Ai"},    {u"中国", 0, kToned, u"zhōngguó"},
      // Compatibility ideographs: one read by Unihan, one through the
      // ideograph it stands for.
      {u"\uFA18", 0, kToned, u"lǐ"}, {u"\uFA1E", 0, kToned, u"yǔ"},
  };
  for (const Case& k : cases)
    EXPECT_EQ(Convert(c, k.text, k.capital, k.tone).Str(), k.expected)
        << CWString(k.text).ToUtf8() << " capital " << k.capital << " tone " << k.tone;
}

TEST(PinyinConverter, CapitalizeTouchesOnlyALeadingAsciiLowerCaseLetter) {
  struct Case {
    std::u16string_view in, out;
  } cases[] = {{u"ling", u"Ling"}, {u"āi", u"āi"}, {u"", u""}, {u"Zhong", u"Zhong"}, {u"1a", u"1a"}, {u"z", u"Z"}};
  for (const Case& k : cases)
    EXPECT_EQ(rg_TavelkinHanZiPinYinLei::CapitalizeSyllable(CWString(k.in)).Str(), k.out);
}

TEST(PinyinConverter, SeparatorStandsOnlyBetweenConsecutiveSyllables) {
  rg_TavelkinHanZiPinYinLei c;
  EXPECT_EQ(Convert(c, u"中国 人", 0, kToneless, u"-").Str(), u"zhong-guo ren");
  EXPECT_EQ(Convert(c, u"中a国人", 0, kToneless, u"--").Str(), u"zhongaguo--ren");
  EXPECT_EQ(Convert(c, u"中国", 1, kToned, u" ").Str(), u"Zhōng Guó");
  // Mode 1 drops the space, but the dropped character still breaks the run.
  EXPECT_EQ(Convert(c, u"中 国", 0, kToneless, u"-", 1).Str(), u"zhongguo");
  // A surrogate pair has no reading: copied, and no separator around it.
  EXPECT_EQ(Convert(c, u"中\U00020000国", 0, kToneless, u"-").Str(), u"zhong\U00020000guo");
  // The template mode never writes the separator.
  EXPECT_EQ(Convert(c, u"中国", 0, kToneless, u"-", 3, u"拼音").Str(), u"zhongguo");
}

TEST(PinyinConverter, ModesDecideWhatHappensToCharactersWithoutAReading) {
  rg_TavelkinHanZiPinYinLei c;
  // U+3000 (ideographic space), punctuation, Latin, digits, a surrogate pair.
  const std::u16string_view input = u"中a Z9_-,\u3000。\U0001F600\0国"sv;
  struct Case {
    int mode;
    std::u16string_view expected;
  } cases[] = {
      {0, u"zhonga Z9_-,\u3000。\U0001F600\0guo"sv},
      {1, u"zhongguo"},
      {2, u"zhongaZ9_-guo"},
      {3, u"中[zhong]a Z9_-,\u3000。\U0001F600\0国[guo]"sv},
      {7, u"zhongguo"},
      {-1, u"zhongguo"},
  };
  for (const Case& k : cases)
    EXPECT_EQ(Convert(c, input, 0, kToneless, u"", k.mode, u"汉字[拼音]").Str(), k.expected) << "mode " << k.mode;
}

TEST(PinyinConverter, TemplatesReplaceTheCharacterThenTheSyllable) {
  rg_TavelkinHanZiPinYinLei c;
  struct Case {
    std::u16string_view tpl, input, expected;
  } cases[] = {
      {u"汉字[拼音]", u"中国a", u"中[zhōng]国[guó]a"},
      {u"汉字(拼音)", u"中国", u"中(zhōng)国(guó)"},
      {u"汉字{拼音}", u"中国", u"中{zhōng}国{guó}"},
      {u"拼音", u"中 国", u"zhōng guó"},
      {u"", u"中a国", u"a"},
      {u"*", u"中a国", u"*a*"},
      // Only the first of each word is replaced.
      {u"汉字汉字拼音拼音", u"中", u"中汉字zhōng拼音"},
      // The character goes in first, so it can complete a "拼音" of its own.
      {u"汉字音", u"拼", u"pīn"},
      {u"<拼音>汉字", u"中", u"<zhōng>中"},
  };
  for (const Case& k : cases)
    EXPECT_EQ(Convert(c, k.input, 0, kToned, u"", 3, k.tpl).Str(), k.expected) << CWString(k.tpl).ToUtf8();
}

TEST(PinyinConverter, EmptyInputGivesEmptyOutput) {
  rg_TavelkinHanZiPinYinLei c;
  EXPECT_TRUE(Convert(c, u"", 1, 1, u"-", 3, u"汉字[拼音]", 50).IsEmpty());
}

TEST(PinyinConverter, PercentZeroAndBelowConvertNothingButZeroStillDraws) {
  rg_TavelkinHanZiPinYinLei c;
  const std::u16string text = u"中国 人民a";
  const int convertible = 4;
  for (int percent : {0, -5}) {
    SeedRandom(77);
    EXPECT_EQ(Convert(c, text, 1, kToned, u"-", 0, u"", percent).Str(), text);
    const int after = std::rand();
    SeedRandom(77);
    for (int i = 0; i < convertible; ++i) std::rand();
    EXPECT_EQ(after, std::rand()) << "one draw per convertible character, percent " << percent;
  }
}

TEST(PinyinConverter, PercentHundredConvertsAllWithoutDrawingAndAboveDraws) {
  rg_TavelkinHanZiPinYinLei c;
  const std::u16string text = u"中国人民";
  SeedRandom(5);
  EXPECT_EQ(Convert(c, text, 0, kToneless, u"", 0, u"", 100).Str(), u"zhongguorenmin");
  const int after = std::rand();
  SeedRandom(5);
  EXPECT_EQ(after, std::rand()) << "percent 100 must not draw";

  SeedRandom(5);
  EXPECT_EQ(Convert(c, text, 0, kToneless, u"", 0, u"", 101).Str(), u"zhongguorenmin");
  const int afterAbove = std::rand();
  SeedRandom(5);
  for (int i = 0; i < 4; ++i) std::rand();
  EXPECT_EQ(afterAbove, std::rand());
}

// For any seed: a character is converted exactly when its draw rand()%100+1
// does not exceed the percentage, converted ones carry their own reading,
// unconverted ones are copied and break the separator run.
TEST(PinyinConverter, PartialPercentFollowsTheDrawsForAnySeed) {
  rg_TavelkinHanZiPinYinLei c;
  const std::u16string text = ChineseSample(3000) + u"x中";
  for (unsigned seed : {1u, 42u, 2026u, 0xFFFFFFFFu}) {
    for (int percent : {1, 30, 50, 99}) {
      SeedRandom(seed);
      std::u16string expected;
      int converted = 0;
      bool afterSyllable = false;
      for (char16_t ch : text) {
        if (ch == u'x') {
          expected += ch;
          afterSyllable = false;
          continue;
        }
        if (std::rand() % 100 + 1 > percent) {
          expected += ch;
          afterSyllable = false;
          continue;
        }
        if (afterSyllable) expected += u'-';
        expected += ReadingOf(ch, kToned);
        afterSyllable = true;
        ++converted;
      }
      SeedRandom(seed);
      EXPECT_EQ(Convert(c, text, 0, kToned, u"-", 0, u"", percent).Str(), expected)
          << "seed " << seed << " percent " << percent;
      // A sanity bound on the generator itself: far from 0 or all at 30-50%.
      if (percent == 30 || percent == 50) {
        EXPECT_GT(converted, 3000 * percent / 100 - 300);
        EXPECT_LT(converted, 3000 * percent / 100 + 300);
      }
    }
  }
}

TEST(PinyinConverter, PartialPercentInTemplateModeAnnotatesWithTheOwnReading) {
  rg_TavelkinHanZiPinYinLei c;
  const std::u16string text = ChineseSample(500);
  SeedRandom(9);
  const std::u16string out = Convert(c, text, 0, kToneless, u"", 3, u"汉字[拼音]", 40).Str();
  // Walk the output: every input character appears in order, optionally
  // followed by "[its reading]".
  size_t at = 0;
  int annotated = 0;
  for (char16_t ch : text) {
    ASSERT_LT(at, out.size());
    ASSERT_EQ(out[at], ch);
    ++at;
    if (at < out.size() && out[at] == u'[') {
      const size_t close = out.find(u']', at);
      ASSERT_NE(close, std::u16string::npos);
      EXPECT_EQ(out.substr(at + 1, close - at - 1), ReadingOf(ch, kToneless));
      at = close + 1;
      ++annotated;
    }
  }
  EXPECT_EQ(at, out.size());
  EXPECT_GT(annotated, 0);
  EXPECT_LT(annotated, 500);
}

namespace {

// Builds the lookup from tables in which 中 and 国 point one past the end of
// a syllable array and 人 at the first syllables, converts 中国人 both ways
// and answers 0 when only 人 was converted.
int ConvertWithDamagedTables() {
  using namespace rg_Tavelkin_MingLingJi;
  static const uint8_t chars[] = {0x2D, 0x4E, 0xFD, 0x56, 0xBA, 0x4E};  // 中国人
  static uint8_t readings[12] = {};
  const auto put = [](int at, uint32_t toneless, uint32_t toned) {
    const uint32_t entry = toneless | toned << 16;
    for (int k = 0; k < 4; ++k) readings[4 * at + k] = static_cast<uint8_t>(entry >> (8 * k));
  };
  put(0, static_cast<uint32_t>(kPinyinTonelessSyllablesCount), 0);
  put(1, 0, static_cast<uint32_t>(kPinyinTonedSyllablesCount));
  put(2, 0, 0);
  RegisterResource(505, chars, sizeof chars);
  RegisterResource(506, readings, sizeof readings);
  rg_TavelkinHanZiPinYinLei c;
  const std::u16string toneless = Convert(c, u"中国人", 0, kToneless).Str();
  const std::u16string toned = Convert(c, u"中国人", 0, kToned).Str();
  std::fprintf(stderr, "toneless \"%s\", toned \"%s\"\n", CWString(toneless).ToUtf8().c_str(),
               CWString(toned).ToUtf8().c_str());
  return toneless == u"中国ling" && toned == u"中国líng" ? 0 : 1;
}

}  // namespace

// Tables that do not belong together must not be read past their end: a
// character whose index equals the length of its syllable array is copied.
// The lookup is built once per process, so this runs in a fresh one.
TEST(PinyinConverter, ADamagedReadingListCopiesTheCharacter) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::exit(ConvertWithDamagedTables()), ::testing::ExitedWithCode(0), "");
}

TEST(PinyinConverter, BuildsOnFirstConversionAndCopiesKeepTheMap) {
  rg_TavelkinHanZiPinYinLei a;
  EXPECT_FALSE(a.IsBuilt());
  EXPECT_EQ(Convert(a, u"中", 0, 1).Str(), u"zhōng");
  EXPECT_TRUE(a.IsBuilt());

  rg_TavelkinHanZiPinYinLei b;
  EXPECT_FALSE(b.IsBuilt());
  EXPECT_EQ(Convert(b, u"国", 0, 1).Str(), u"guó");
  EXPECT_TRUE(b.IsBuilt());

  rg_TavelkinHanZiPinYinLei copy(a);
  EXPECT_TRUE(copy.IsBuilt());
  EXPECT_EQ(Convert(copy, u"人", 0, 0).Str(), u"ren");

  CQzuObject* clone = a.Clone();
  ASSERT_NE(clone, nullptr);
  auto* cloned = static_cast<rg_TavelkinHanZiPinYinLei*>(clone);
  EXPECT_TRUE(cloned->IsBuilt());
  EXPECT_EQ(Convert(*cloned, u"〇", 0, 1).Str(), u"líng");
  // Equal only to itself, even to a copy.
  EXPECT_TRUE(a.IsEqual(a));
  EXPECT_FALSE(a.IsEqual(*cloned));
  EXPECT_FALSE(a.IsEqual(b));
  clone->Release();

  a.Reset();
  EXPECT_FALSE(a.IsBuilt());
  EXPECT_EQ(Convert(a, u"中", 1, 0).Str(), u"Zhong");
}

TEST(PinyinConverter, StreamFormKeepsTheBuiltFlag) {
  rg_TavelkinHanZiPinYinLei built;
  Convert(built, u"中", 0, 0);
  CQzuMemStream stream;
  built.SaveToStream(stream);
  // Flag, then two empty buffers (byte counts of zero).
  EXPECT_EQ(stream.Buffer().GetSize(), 12u);
  rg_TavelkinHanZiPinYinLei loaded;
  stream.Rewind();
  loaded.LoadFromStream(stream);
  EXPECT_TRUE(stream.Ok());
  EXPECT_TRUE(loaded.IsBuilt());
  EXPECT_EQ(Convert(loaded, u"中", 0, 0).Str(), u"zhong");

  // A truncated stream leaves the converter as it was.
  CQzuMemStream shortStream(stream.Buffer().GetData(), 6);
  rg_TavelkinHanZiPinYinLei fresh;
  fresh.LoadFromStream(shortStream);
  EXPECT_FALSE(shortStream.Ok());
  EXPECT_FALSE(fresh.IsBuilt());
}

TEST(PinyinConverter, SimultaneousFirstConversionsAgree) {
  rg_TavelkinHanZiPinYinLei shared;
  const std::u16string text = ChineseSample(2000);
  std::vector<std::u16string> results(8);
  std::vector<std::thread> threads;
  for (size_t t = 0; t < results.size(); ++t)
    threads.emplace_back([&, t] { results[t] = Convert(shared, text, 1, 1, u" ").Str(); });
  for (std::thread& th : threads) th.join();
  const std::u16string expected = SamplePinyin(text, true, kToned, u" ");
  for (const std::u16string& r : results) EXPECT_EQ(r, expected);
}
