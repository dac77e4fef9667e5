// Detection over whole tables of short texts: short Chinese in GBK must stay
// GBK, and no real UTF-8 word or line may read as GBK. The tables: generated
// GB2312 and GBK strings; every GB2312 pair that is also UTF-8 and the pairs
// of the Tang and Song poems of fortunes-zh (at least 90 % GBK); Debian's word
// lists, read from /usr/share/dict and through tests/fixtures/detect_words.txt
// (tools/gen_detect_words.py); lines of mixed alphabets written here; poem
// lines cut inside their last character. Each table prints its figures.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "code_page_guard.h"
#include "common/utf.h"
#include "platform/code_page_codec.h"
#include "test_support.h"
#include "textlib/charset_detect.h"
#include "textlib/charset_detect_count.h"

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

// ---- Real text: the Tang and Song poems of fortunes-zh and Debian's word
// lists, all installed by scripts/setup.sh ----

namespace {

const char* const kPoemFiles[] = {"/usr/share/games/fortunes/tang300", "/usr/share/games/fortunes/song100"};
const char kPoemsMissing[] = "the poems of fortunes-zh are missing (scripts/setup.sh installs the package)";

// The lines of the poems in UTF-8 (titles, authors and verses), without the
// colour codes and the "%" lines of the fortune format; empty when a file is
// missing.
std::vector<std::string> PoemLines() {
  std::vector<std::string> lines;
  for (const char* path : kPoemFiles) {
    const std::vector<uint8_t> bytes = qzu_test::ReadFile(path);
    if (bytes.empty()) return {};
    std::string line;
    for (uint8_t b : bytes) {
      if (b != '\n') {
        line += static_cast<char>(b);
        continue;
      }
      for (size_t esc; (esc = line.find('\x1b')) != std::string::npos;) {
        const size_t m = line.find('m', esc);
        line.erase(esc, m == std::string::npos ? std::string::npos : m - esc + 1);
      }
      if (!line.empty() && line != "%") lines.push_back(line);
      line.clear();
    }
  }
  return lines;
}

// Every sequence whole and well-formed, nothing cut at the end.
bool WellFormedUtf8(const std::string& bytes) {
  return CountUtf8Sequences(bytes.data(), bytes.size(), 0).invalid == 0;
}

// The GB2312 characters, levels 1 and 2 (6,763), as GBK byte pairs.
const std::vector<std::string>& Gb2312Characters() {
  static const std::vector<std::string> chars = [] {
    std::vector<std::string> out;
    for (int lead = 0xB0; lead <= 0xF7; ++lead)
      for (int trail = 0xA1; trail <= (lead == 0xD7 ? 0xF9 : 0xFE); ++trail)
        out.push_back({static_cast<char>(lead), static_cast<char>(trail)});
    return out;
  }();
  return chars;
}

// Whether every byte beyond ASCII starts a GB2312 pair (rows A1-A9, B0-F7).
bool RowOfGb2312Pairs(const char* p, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    const uint8_t lead = static_cast<uint8_t>(p[i]);
    if (lead < 0x80) continue;
    if (i + 1 == size || static_cast<uint8_t>(p[i + 1]) < 0xA1) return false;
    if (lead < 0xA1 || (lead > 0xA9 && lead < 0xB0) || lead > 0xF7) return false;
    ++i;
  }
  return true;
}

// Counts the texts of a table that read as GBK and prints the share.
struct Share {
  const char* name;
  size_t total = 0, gbk = 0;
  std::string examples;  // a few that read as UTF-8
  void Add(const std::string& bytes) {
    ++total;
    if (!ReadsAsUtf8(bytes))
      ++gbk;
    else if (examples.size() < 60)
      examples += " " + Hex(bytes) + ";";
  }
  double GbkPercent() const { return total ? 100.0 * static_cast<double>(gbk) / static_cast<double>(total) : 0; }
  void Print() const {
    std::printf("%s: %zu of %zu read as GBK (%.2f %%), as UTF-8 %.3f %%\n", name, gbk, total, GbkPercent(),
                100.0 - GbkPercent());
  }
};

}  // namespace

// Two GB2312 characters whose bytes are also whole UTF-8 sequences: every
// such pair of the table, and the pairs of neighbouring characters in real
// poems. GBK is the system's charset, so most of them must read as GBK.
TEST(DetectionCorpus, Gb2312PairsThatAreAlsoUtf8MostlyReadAsGbk) {
  CodePageGuard guard(936);
  std::vector<const std::string*> fits;  // a trail that can be a continuation byte
  for (const std::string& c : Gb2312Characters())
    if (static_cast<uint8_t>(c[1]) <= 0xBF) fits.push_back(&c);
  Share table{"every GB2312 pair (levels 1 and 2) that is UTF-8", 0, 0, {}};
  for (const std::string* a : fits)
    for (const std::string* b : fits) {
      const std::string pair = *a + *b;
      if (WellFormedUtf8(pair)) table.Add(pair);
    }
  table.Print();
  EXPECT_GT(table.total, 800000u);
  EXPECT_GE(table.GbkPercent(), 90.0) << "e.g." << table.examples;

  const std::vector<std::string> poems = PoemLines();
  if (poems.empty()) GTEST_SKIP() << kPoemsMissing;
  const auto codec = qzu::CodePageCodec(936);
  ASSERT_TRUE(codec);
  std::set<std::string> pairs;
  for (const std::string& line : poems) {
    const std::u16string text = qzu::Utf8ToUtf16(line);
    for (size_t i = 0; i + 1 < text.size(); ++i) {
      if (text[i] < 0x4E00 || text[i] > 0x9FFF || text[i + 1] < 0x4E00 || text[i + 1] > 0x9FFF) continue;
      std::string gbk;
      codec->Encode(std::u16string_view(text).substr(i, 2), gbk);
      if (gbk.size() == 4 && gbk.find('?') == std::string::npos && WellFormedUtf8(gbk)) pairs.insert(gbk);
    }
  }
  Share poemPairs{"pairs of neighbouring characters in the poems that are UTF-8 in GBK", 0, 0, {}};
  for (const std::string& pair : pairs) poemPairs.Add(pair);
  poemPairs.Print();
  EXPECT_GT(poemPairs.total, 500u);
  EXPECT_GE(poemPairs.GbkPercent(), 90.0) << "e.g." << poemPairs.examples;
}

// Random words of 2 to 4 GB2312 characters, whatever their bytes: almost
// none may read as UTF-8.
TEST(DetectionCorpus, RandomGb2312WordsHardlyEverReadAsUtf8) {
  CodePageGuard guard(936);
  const std::vector<std::string>& chars = Gb2312Characters();
  std::mt19937 rng(47);
  Share table{"random words of 2-4 GB2312 characters", 0, 0, {}};
  for (int i = 0; i < 300000; ++i) {
    std::string word;
    for (unsigned n = 2 + rng() % 3; n > 0; --n) word += chars[rng() % chars.size()];
    table.Add(word);
  }
  table.Print();
  EXPECT_LE(100.0 - table.GbkPercent(), 0.3) << "e.g." << table.examples;
}

// Every word with a letter beyond ASCII of Debian's word lists, and lines
// that put words of different alphabets side by side: none reads as GBK.
TEST(DetectionCorpus, WordListsAndMixedLinesStayUtf8) {
  CodePageGuard guard(936);
  const char* lines[] = {
      "The wave function Ψ of Schrödinger",
      "naïve set theory, α and β",
      "café α",
      "Résumé: Ω",
      "10 μm",
      "10μm",
      "5 Ω",
      "2 kΩ, 3 mΩ",
      "λ = 500 nm",
      "cosθ + sinθ",
      "Δx · Δp ≥ ħ/2",
      "the β-decay and γ rays",
      "Σ über alle Werte",
      "π ≈ 3.14159",
      "Dostoevsky wrote «Преступление и наказание»",
      "Толстой and Tolstoy",
      "Москва (Moscow)",
      "слово, word, mot, Wort",
      "Ὀδυσσεύς or Odysseus",
      "Αθήνα / Athens",
      "Σωκράτης said: «γνῶθι σεαυτόν»",
      "„Привет“, sagte sie.",
      "Zoë and Chloë met Θεόδωρος in Kraków",
      "Ελληνικά, Русский, Français",
      "«Сон»",
      "дело and café",
      "Łódź – Львів",
      "Ich heiße Jürgen, мене звати Юрій",
      "μ-opioid",
      "α-helix, β-sheet",
      "Ω-3 fatty acids",
      "the Ψ function",
      "Ἀριστοτέλης",
      "שלום and سلام",
  };
  std::vector<std::string> texts(std::begin(lines), std::end(lines));
  struct List {
    const char* file;
    const char* package;
  } lists[] = {
      {"american-english", "wamerican"}, {"french", "wfrench"},       {"ngerman", "wngerman"},
      {"spanish", "wspanish"},           {"italian", "witalian"},     {"portuguese", "wportuguese"},
      {"polish", "wpolish"},             {"ukrainian", "wukrainian"}, {"bulgarian", "wbulgarian"},
  };
  size_t words = 0, asGbk = 0;
  for (const List& list : lists) {
    const std::vector<uint8_t> bytes = qzu_test::ReadFile(std::string("/usr/share/dict/") + list.file);
    if (bytes.empty())
      GTEST_SKIP() << "/usr/share/dict/" << list.file << " is missing: install " << list.package
                   << " (scripts/setup.sh does)";
    // Only words with a byte beyond ASCII: ASCII reads the same in either
    // charset. Each must look like UTF-8; the whole detection runs on those
    // that are also rows of GB2312 pairs, the only ones whose GBK reading can
    // win (the rest go through it in the written lines and the fixture).
    const char* text = reinterpret_cast<const char*>(bytes.data());
    size_t start = 0;
    bool high = false;
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] != '\n') {
        high |= bytes[i] >= 0x80;
        continue;
      }
      if (high) {
        ++words;
        if (!LooksLikeUtf8(text + start, i - start) && ++asGbk <= 20)
          ADD_FAILURE() << "does not look like UTF-8: " << std::string(text + start, i - start);
        else if (RowOfGb2312Pairs(text + start, i - start))
          texts.emplace_back(text + start, i - start);
      }
      start = i + 1;
      high = false;
    }
  }
  for (const std::string& text : texts) {
    if (!ReadsAsUtf8(text) && ++asGbk <= 20) ADD_FAILURE() << "reads as GBK: " << text << " (" << Hex(text) << ")";
  }
  std::printf("word lists (%zu words beyond ASCII, %zu of them rows of GB2312 pairs) and %zu mixed lines: "
              "%zu read as GBK\n",
              words, texts.size() - std::size(lines), std::size(lines), asGbk);
  EXPECT_EQ(asGbk, 0u);
}

// Lines of the poems cut one or two bytes short, inside their last
// character: all still UTF-8.
TEST(DetectionCorpus, PoemLinesCutInsideTheirLastCharacterStayUtf8) {
  CodePageGuard guard(936);
  const std::vector<std::string> poems = PoemLines();
  if (poems.empty()) GTEST_SKIP() << kPoemsMissing;
  size_t total = 0, asGbk = 0;
  for (const std::string& line : poems) {
    if (static_cast<uint8_t>(line.back()) < 0x80) continue;  // no character to cut
    for (size_t cut : {1, 2}) {
      const std::string bytes = line.substr(0, line.size() - cut);
      ++total;
      if (!ReadsAsUtf8(bytes) && ++asGbk <= 20) ADD_FAILURE() << "reads as GBK: " << Hex(bytes);
    }
  }
  std::printf("poem lines cut by one or two bytes: %zu of %zu read as GBK\n", asGbk, total);
  EXPECT_GT(total, 4000u);
  EXPECT_EQ(asGbk, 0u);
}
