#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "platform/resource_loader.h"
#include "test_support.h"
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
    const bool inRange = c == 0x3007 || c == 0xFA1E || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF);
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
