#include "platform/chinese_script_table.h"

#include <opencc/DictEntry.hpp>
#include <opencc/Lexicon.hpp>
#include <opencc/MarisaDict.hpp>

#include <emmintrin.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/utf.h"
#include "platform/lazy_library.h"

namespace qzu {
namespace {

// OpenCC's data folder, set by the build (QZU_OPENCC_DATA_DIR).
constexpr const char* kDictionaryFolder = QZU_OPENCC_DATA_DIR "/";

struct ScriptTable {
  std::array<char16_t, 0x10000> bmp{};                  // identity where nothing maps
  std::unordered_map<char32_t, char32_t> supplementary;  // only the pairs that map
  // One bit per supplementary code point, set where it maps: most pairs of a
  // text map to nothing, and the bit says so without a hash lookup.
  std::vector<uint64_t> supplementaryBits = std::vector<uint64_t>(0x100000 / 64);
  bool Maps(char32_t cp) const {
    const char32_t k = cp - 0x10000;
    return (supplementaryBits[k >> 6] >> (k & 63)) & 1;
  }
  size_t changed = 0;
};

// The single code point of a UTF-8 text, or 0 when it holds none, several or
// an ill-formed sequence.
char32_t SingleCodePoint(const std::string& s) {
  const std::u16string units = Utf8ToUtf16(s);
  char32_t cp = 0;
  if (units.size() == 1 && !IsHighSurrogate(units[0]) && !IsLowSurrogate(units[0]))
    cp = units[0];
  else if (units.size() == 2 && IsHighSurrogate(units[0]) && IsLowSurrogate(units[1]))
    cp = 0x10000 + ((static_cast<char32_t>(units[0]) - 0xD800) << 10) + (units[1] - 0xDC00);
  // The decoder writes U+FFFD for ill-formed bytes; only its own three bytes
  // stand for it.
  if (cp == 0xFFFD && s != "\xEF\xBF\xBD") return 0;
  return cp;
}

// OpenCC's reader of a dictionary file. The library is opened on the first
// table built, not at start, as most runs map no script; the reader is found
// by its C++ name in the library whose soname the build names
// (QZU_OPENCC_LIBRARY). Null when the library cannot be opened.
opencc::MarisaDictPtr ReadDictionary(std::FILE* file) {
  using Reader = opencc::MarisaDictPtr(std::FILE*);
  static Reader* const read = [] {
    static CLazyLibrary library(QZU_OPENCC_LIBRARY);
    Reader* reader = nullptr;
    library.Find("_ZN6opencc10MarisaDict11NewFromFileEP8_IO_FILE", reader);
    return reader;
  }();
  return read ? read(file) : nullptr;
}

void Load(ScriptTable& table, const char* dictionary) {
  for (size_t i = 0; i < table.bmp.size(); ++i) table.bmp[i] = static_cast<char16_t>(i);
  const std::string path = std::string(kDictionaryFolder) + dictionary;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return;
  try {
    const opencc::MarisaDictPtr dict = ReadDictionary(file.get());
    if (!dict) return;
    for (const auto& entry : *dict->GetLexicon()) {
      const char32_t from = SingleCodePoint(entry->Key());
      const char32_t to = SingleCodePoint(entry->GetDefault());
      if (!from || !to || from == to) continue;
      const bool fromBmp = from < 0x10000, toBmp = to < 0x10000;
      if (fromBmp != toBmp) continue;  // would change the length
      if (fromBmp) {
        if (from >= 0xD800 && from <= 0xDFFF) continue;
        table.bmp[from] = static_cast<char16_t>(to);
      } else {
        table.supplementary[from] = to;
        table.supplementaryBits[(from - 0x10000) >> 6] |= uint64_t{1} << ((from - 0x10000) & 63);
      }
      ++table.changed;
    }
  } catch (...) {
    // A damaged dictionary leaves whatever was read; the rest stays unmapped.
  }
}

const ScriptTable& TableFor(ChineseScript target) {
  // Function-local statics: built once, thread-safely, on first use. They are
  // never freed, so conversions during process exit still find them.
  if (target == ChineseScript::Traditional) {
    static const ScriptTable* const toTraditional = [] {
      auto* t = new ScriptTable;
      Load(*t, "STCharacters.ocd2");
      return t;
    }();
    return *toTraditional;
  }
  static const ScriptTable* const toSimplified = [] {
    auto* t = new ScriptTable;
    Load(*t, "TSCharacters.ocd2");
    return t;
  }();
  return *toSimplified;
}

}  // namespace

namespace {

// Eight units through the BMP table, the results gathered in one vector so
// that they are written with one store: the loop is bound by its memory
// accesses, and this leaves one table read and one text read per unit.
inline __m128i MapEight(const char16_t* text, const char16_t* bmp) {
  __m128i a = _mm_cvtsi32_si128(bmp[text[0]]);
  __m128i b = _mm_cvtsi32_si128(bmp[text[2]]);
  __m128i c = _mm_cvtsi32_si128(bmp[text[4]]);
  __m128i d = _mm_cvtsi32_si128(bmp[text[6]]);
  a = _mm_insert_epi16(a, bmp[text[1]], 1);
  b = _mm_insert_epi16(b, bmp[text[3]], 1);
  c = _mm_insert_epi16(c, bmp[text[5]], 1);
  d = _mm_insert_epi16(d, bmp[text[7]], 1);
  return _mm_unpacklo_epi64(_mm_unpacklo_epi32(a, b), _mm_unpacklo_epi32(c, d));
}

// Two mask bits per unit of `units`, set where the unit is a high surrogate.
inline unsigned HighSurrogateBits(__m128i units) {
  const __m128i top = _mm_and_si128(units, _mm_set1_epi16(static_cast<short>(0xFC00)));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(top, _mm_set1_epi16(static_cast<short>(0xD800)))));
}

// Maps the pair that starts with the high surrogate at text[at], if a low
// surrogate follows it within `length`; a lone surrogate stays.
inline void MapPairAt(char16_t* text, size_t at, size_t length, const ScriptTable& table) {
  if (at + 1 >= length) return;
  const char16_t low = text[at + 1];
  if (low < 0xDC00 || low > 0xDFFF) return;
  const char32_t cp = 0x10000 + ((static_cast<char32_t>(text[at]) - 0xD800) << 10) + (low - 0xDC00);
  if (!table.Maps(cp)) return;
  const char32_t to = table.supplementary.find(cp)->second - 0x10000;
  text[at] = static_cast<char16_t>(0xD800 + (to >> 10));
  text[at + 1] = static_cast<char16_t>(0xDC00 + (to & 0x3FF));
}

}  // namespace

void MapChineseScript(char16_t* text, size_t length, ChineseScript target) {
  const ScriptTable& table = TableFor(target);
  const char16_t* bmp = table.bmp.data();
  // Sixteen units at a time through the BMP table, which maps every
  // surrogate to itself and no other unit to a surrogate; the high
  // surrogates among the results are found in the same step, and only a
  // step that holds one leaves the loop's straight path. A pair is mapped
  // where its high surrogate is, even when its low one lies in the next
  // step: the table then leaves the new low surrogate as it is.
  size_t i = 0;
  for (; i + 16 <= length; i += 16) {
    const __m128i first = MapEight(text + i, bmp);
    const __m128i second = MapEight(text + i + 8, bmp);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(text + i), first);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(text + i + 8), second);
    for (unsigned highs = HighSurrogateBits(first) | HighSurrogateBits(second) << 16; highs != 0;) {
      const unsigned bit = static_cast<unsigned>(__builtin_ctz(highs));
      MapPairAt(text, i + bit / 2, length, table);
      highs &= ~(3u << bit);
    }
  }
  const size_t tail = i;
  for (; i < length; ++i) text[i] = bmp[text[i]];
  for (i = tail; i < length; ++i)
    if (text[i] >= 0xD800 && text[i] <= 0xDBFF) MapPairAt(text, i, length, table);
}

size_t ChineseScriptTableSize(ChineseScript target) { return TableFor(target).changed; }

}  // namespace qzu
