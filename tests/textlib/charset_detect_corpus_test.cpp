// Detection over whole tables of short texts: short Chinese in GBK must stay
// GBK (at most 2 % may read as UTF-8), and no real UTF-8 word or line may read
// as GBK. The UTF-8 words come from Debian's word lists through
// tests/fixtures/detect_words.txt (tools/gen_detect_words.py); the Greek,
// Russian and emoji lines are written here. Each table prints its figures.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "code_page_guard.h"
#include "common/utf.h"
#include "platform/code_page_codec.h"
#include "test_support.h"
#include "textlib/charset_detect.h"

namespace {

using qzu_test::CodePageGuard;

// The GB2312 level-1 characters (the 3,755 common ones), as GBK byte pairs.
const std::vector<std::string>& Level1() {
  static const std::vector<std::string> chars = [] {
    std::vector<std::string> out;
    for (int lead = 0xB0; lead <= 0xD7; ++lead)
      for (int trail = 0xA1; trail <= (lead == 0xD7 ? 0xF9 : 0xFE); ++trail)
        out.push_back({static_cast<char>(lead), static_cast<char>(trail)});
    return out;
  }();
  return chars;
}

std::string Hex(const std::string& bytes) {
  return qzu_test::ToHex(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

bool ReadsAsUtf8(const std::string& bytes) {
  int mark = 0;
  return DetectEncoding(CQzuMem(bytes.data(), bytes.size()), mark) == u"UTF-8";
}

// Counts the texts of a table that read as UTF-8, prints the share and checks
// it against the goal.
class GbkTable {
 public:
  explicit GbkTable(const char* name) : m_name(name) {}
  void Add(const std::string& gbk) {
    ++m_total;
    if (ReadsAsUtf8(gbk)) {
      ++m_utf8;
      if (m_examples.size() < 5) m_examples += " " + Hex(gbk) + ";";
    }
  }
  ~GbkTable() {
    const double share = m_total ? 100.0 * static_cast<double>(m_utf8) / static_cast<double>(m_total) : 0;
    std::printf("%s: %zu of %zu read as UTF-8 (%.3f %%)\n", m_name, m_utf8, m_total, share);
    EXPECT_GT(m_total, 0u) << m_name;
    EXPECT_LE(share, 2.0) << m_name << ", e.g." << m_examples;
  }

 private:
  const char* m_name;
  size_t m_total = 0, m_utf8 = 0;
  std::string m_examples;
};

std::vector<std::string> FixtureWords() {
  const char* folder = std::getenv("QZU_TEST_FIXTURES");
  const std::vector<uint8_t> bytes =
      qzu_test::ReadFile(std::string(folder ? folder : "tests/fixtures") + "/detect_words.txt");
  std::vector<std::string> words;
  std::string line;
  for (uint8_t b : bytes) {
    if (b != '\n') {
      line += static_cast<char>(b);
      continue;
    }
    if (!line.empty() && line[0] != '#') words.push_back(line);
    line.clear();
  }
  return words;
}

}  // namespace

TEST(DetectionCorpus, EveryPairOfCommonCharactersStaysGbk) {
  CodePageGuard guard(936);
  GbkTable table("GB2312 level-1 pairs");
  for (const std::string& a : Level1())
    for (const std::string& b : Level1()) table.Add(a + b);
}

// All 53 billion triples are too many for a test run: a seeded sample, and
// of four characters too.
TEST(DetectionCorpus, SampledTriplesAndQuadruplesOfCommonCharactersStayGbk) {
  CodePageGuard guard(936);
  const std::vector<std::string>& chars = Level1();
  std::mt19937 rng(41);
  for (int length : {3, 4}) {
    GbkTable table(length == 3 ? "GB2312 level-1 triples, 60,000 sampled"
                               : "GB2312 level-1 quadruples, 60,000 sampled");
    for (int i = 0; i < 60000; ++i) {
      std::string text;
      for (int k = 0; k < length; ++k) text += chars[rng() % chars.size()];
      table.Add(text);
    }
  }
}

// Random ideographs of the whole GBK range, as 2 to 4 characters alone and
// as longer lines with ASCII and punctuation among them.
TEST(DetectionCorpus, RandomGbkStringsStayGbk) {
  CodePageGuard guard(936);
  const auto codec = qzu::CodePageCodec(936);
  ASSERT_TRUE(codec);
  std::mt19937 rng(40);
  const auto ideographs = [&](size_t n) {
    std::u16string text;
    for (size_t k = 0; k < n; ++k) text += static_cast<char16_t>(0x4E00 + rng() % (0x9FA6 - 0x4E00));
    return text;
  };
  {
    GbkTable table("random GBK strings of 2-4 ideographs");
    for (int i = 0; i < 5000; ++i) {
      std::string gbk;
      codec->Encode(ideographs(2 + rng() % 3), gbk);
      table.Add(gbk);
    }
  }
  {
    GbkTable table("random GBK lines of 5-40 ideographs, ASCII and punctuation");
    for (int i = 0; i < 5000; ++i) {
      std::u16string text;
      for (size_t n = 5 + rng() % 36; n > 0; --n) {
        const unsigned r = rng() % 10;
        text += r < 7 ? ideographs(1) : r == 7 ? u"，" : r == 8 ? u" ok " : u"2024";
      }
      std::string gbk;
      codec->Encode(text, gbk);
      table.Add(gbk);
    }
  }
}

TEST(DetectionCorpus, RealUtf8WordsAndLinesStayUtf8) {
  CodePageGuard guard(936);
  std::vector<std::string> texts = FixtureWords();
  ASSERT_GT(texts.size(), 5000u);
  const char* lines[] = {
      // Greek
      "Ελληνικά",
      "Καλημέρα σας, τι κάνετε;",
      "Η γλώσσα είναι ζωντανή.",
      "αβγδεζηθικλμνξοπρστυφχψω",
      "ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ",
      "άέήίόύώϊϋΐΰ",
      "Ρόδος",
      "Σοφία",
      "ποταμός",
      "ψυχή",
      // Russian
      "Привет",
      "Привет, мир!",
      "Москва — столица России.",
      "Съешь же ещё этих мягких французских булок.",
      "абвгдеёжзийклмнопрстуфхцчшщъыьэюя",
      "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ",
      "сон",
      "дело",
      "голод",
      "Слово",
      // Latin with marks, symbols and words of several lists at once
      "café",
      "Grüße",
      "naïve façade",
      "¿Qué tal? ¡Muy bien!",
      "25°C",
      "±3",
      "© 2024",
      "½ l",
      "Zürich · München",
      "Ærøskøbing",
      "Łódź",
      "žluťoučký kůň",
      "Ñandú",
      "São Paulo",
      "«guillemets»",
      // emoji and characters outside the BMP
      "好的👍",
      "👍",
      "🎉🎉🎉",
      "Merci 🙏",
      "Привет 👋",
      "𠀀",
      "𠀀𠀁",
      "ok ✅ 👌",
      "😀 hello",
      "字👍",
      "🇨🇳",
      // Chinese, Japanese and Korean in UTF-8
      "中文",
      "简体中文和繁體中文",
      "日本語のテキスト",
      "カタカナ",
      "한국어 텍스트",
      "한국語",
  };
  for (const char* line : lines) texts.push_back(line);
  size_t asAnsi = 0;
  for (const std::string& text : texts) {
    if (!ReadsAsUtf8(text)) {
      ++asAnsi;
      ADD_FAILURE() << "reads as GBK: " << text << " (" << Hex(text) << ")";
    }
  }
  std::printf("UTF-8 words and lines: %zu of %zu read as GBK\n", asAnsi, texts.size());
}
