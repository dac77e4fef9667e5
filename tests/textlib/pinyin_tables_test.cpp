// The built-in pinyin tables: reproduced by their generator, laid out as the
// converter reads them, and holding the reading Unihan gives every character.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/resource_loader.h"
#include "test_support.h"
#include "textlib/pinyin_converter.h"
#include "textlib/pinyin_syllables.h"

namespace fs = std::filesystem;
using namespace rg_Tavelkin_MingLingJi;

namespace {

fs::path SourceRoot() {
  if (const char* fixtures = std::getenv("QZU_TEST_FIXTURES")) return fs::path(fixtures).parent_path().parent_path();
  return fs::path(__FILE__).parent_path().parent_path().parent_path();
}

std::u16string_view Syllable(const char16_t* const* list, int index) { return list[index]; }

}  // namespace

// The committed tables are exactly what the generator writes today.
TEST(PinyinTables, GeneratorReproducesTheCommittedTables) {
  const fs::path root = SourceRoot();
  ASSERT_TRUE(fs::exists(root / "tools" / "gen_pinyin_tables.py")) << root;
  qzu_test::TempDir out;
  const std::string command = "python3 '" + (root / "tools" / "gen_pinyin_tables.py").string() + "' --out '" +
                              out.str() + "' > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  for (const char* file : {"resources/rcdata/505_pinyin_chars.bin", "resources/rcdata/506_pinyin_readings.bin",
                           "textlib/pinyin_syllables.cpp"}) {
    const auto generated = qzu_test::ReadFile(out.path() / file);
    const auto committed = qzu_test::ReadFile(root / file);
    EXPECT_FALSE(generated.empty()) << file;
    EXPECT_TRUE(generated == committed) << file << " differs from a fresh run of the generator";
  }
}

// Every character of the BMP that Unihan reads (kMandarin, its first
// reading) converts to that reading, compatibility ideographs included.
TEST(PinyinTables, EveryCharacterUnihanReadsHasItsReading) {
  const char* unihan = "/usr/share/unicode/Unihan_Readings.txt.bz2";
  ASSERT_TRUE(fs::exists(unihan)) << "the unicode-data package is missing";
  const std::string command = std::string("python3 -c \"import bz2\nfor l in bz2.open('") + unihan +
                              "', 'rt', encoding='utf-8'):\n if '\\tkMandarin\\t' in l:\n"
                              "  f = l.split('\\t'); print(f[0][2:], f[2].split()[0])\"";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::u16string characters;
  std::vector<std::string> codes, readings;
  char code[16], reading[64];
  while (std::fscanf(pipe, "%15s %63s", code, reading) == 2) {
    const unsigned long c = std::strtoul(code, nullptr, 16);
    if (c > 0xFFFF) continue;  // the character list holds single units only
    characters += static_cast<char16_t>(c);
    codes.push_back(code);
    readings.push_back(reading);
  }
  EXPECT_EQ(pclose(pipe), 0);
  // All at once, a blank between consecutive syllables.
  rg_TavelkinHanZiPinYinLei converter;
  const std::vector<CWString> got =
      converter.ConvertToPinyin(CWString(characters), 0, 1, CWString(u" "), 0, CWString(), 100).Split(u" ");
  ASSERT_EQ(got.size(), readings.size());
  int checked = 0;
  for (size_t i = 0; i < readings.size(); ++i, ++checked)
    EXPECT_EQ(got[i], CWString::FromUtf8(readings[i])) << "U+" << codes[i];
  EXPECT_GT(checked, 26000);
}

TEST(PinyinTables, CharacterListCoversTheCjkBlocksInOrder) {
  const CQzuMem chars = LoadResourceBytes(505);
  const CQzuMem readings = LoadResourceBytes(506);
  ASSERT_GT(chars.GetSize(), 50000u);
  ASSERT_EQ(chars.GetSize() % 2, 0u);
  ASSERT_EQ(readings.GetSize(), chars.GetSize() * 2);
  const size_t count = chars.GetSize() / 2;
  size_t extA = 0, unified = 0;
  uint32_t previous = 0;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t c = chars[2 * i] | (chars[2 * i + 1] << 8);
    ASSERT_GT(c, previous) << "ascending and distinct at " << i;
    previous = c;
    const bool inRange =
        c == 0x3007 || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF);
    ASSERT_TRUE(inRange) << std::hex << c;
    extA += c >= 0x3400 && c <= 0x4DBF;
    unified += c >= 0x4E00 && c <= 0x9FFF;
  }
  EXPECT_EQ(chars[0] | (chars[1] << 8), 0x3007);
  EXPECT_EQ(previous, 0xFA1Eu);
  EXPECT_GT(extA, 5000u);
  EXPECT_GT(unified, 20800u);
}

// Every entry points into both arrays; the arrays are numbered by first use
// and every syllable is used; each toneless syllable is its toned one with
// the marks taken off (ü as v).
TEST(PinyinTables, EntriesIndexSyllablesNumberedByFirstUse) {
  const CQzuMem readings = LoadResourceBytes(506);
  const size_t count = readings.GetSize() / 4;
  int nextToneless = 0, nextToned = 0;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t e = readings[4 * i] | (readings[4 * i + 1] << 8) | (readings[4 * i + 2] << 16) |
                       (static_cast<uint32_t>(readings[4 * i + 3]) << 24);
    const int plain = static_cast<int>(e & 0xFFFF), toned = static_cast<int>(e >> 16);
    ASSERT_LE(plain, nextToneless) << i;
    ASSERT_LE(toned, nextToned) << i;
    if (plain == nextToneless) ++nextToneless;
    if (toned == nextToned) ++nextToned;

    const std::u16string_view p = Syllable(kPinyinTonelessSyllables, plain);
    const std::u16string_view t = Syllable(kPinyinTonedSyllables, toned);
    ASSERT_EQ(p.size(), t.size()) << i;
    for (size_t k = 0; k < t.size(); ++k) {
      if (t[k] < 0x80) {
        ASSERT_EQ(p[k], t[k]) << i;
      } else {
        const bool umlaut = t[k] == u'ü' || t[k] == u'ǖ' || t[k] == u'ǘ' || t[k] == u'ǚ' || t[k] == u'ǜ';
        ASSERT_EQ(p[k] == u'v', umlaut) << i;
      }
    }
  }
  EXPECT_EQ(nextToneless, kPinyinTonelessSyllablesCount);
  EXPECT_EQ(nextToned, kPinyinTonedSyllablesCount);
  EXPECT_EQ(Syllable(kPinyinTonelessSyllables, 0), u"ling");
  EXPECT_EQ(Syllable(kPinyinTonedSyllables, 0), u"líng");
}

TEST(PinyinTables, SyllableForms) {
  for (int i = 0; i < kPinyinTonelessSyllablesCount; ++i) {
    const std::u16string_view s = kPinyinTonelessSyllables[i];
    ASSERT_TRUE(!s.empty() && s.size() <= 6) << i;
    for (char16_t c : s) ASSERT_TRUE(c >= u'a' && c <= u'z') << i;
  }
  std::set<std::u16string_view> seen;
  for (int i = 0; i < kPinyinTonedSyllablesCount; ++i) {
    const std::u16string_view s = kPinyinTonedSyllables[i];
    ASSERT_TRUE(!s.empty() && s.size() <= 6) << i;
    ASSERT_TRUE(seen.insert(s).second) << "duplicate toned syllable " << i;
    // Precomposed letters only: no combining marks.
    for (char16_t c : s) ASSERT_FALSE(c >= 0x300 && c <= 0x36F) << i;
  }
}
