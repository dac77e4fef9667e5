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

// Maps the surrogate pairs of text[begin, end) through the supplementary
// table; a pair may end past `end` (up to `length`). Lone surrogates stay.
void MapPairs(char16_t* text, size_t begin, size_t end, size_t length, const ScriptTable& table) {
  for (size_t i = begin; i < end; ++i) {
    const char16_t c = text[i];
    if (c < 0xD800 || c > 0xDBFF || i + 1 >= length || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) continue;
    const char32_t cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
    const auto it = table.Maps(cp) ? table.supplementary.find(cp) : table.supplementary.end();
    if (it != table.supplementary.end()) {
      const char32_t to = it->second - 0x10000;
      text[i] = static_cast<char16_t>(0xD800 + (to >> 10));
      text[i + 1] = static_cast<char16_t>(0xDC00 + (to & 0x3FF));
    }
    ++i;
  }
}

// Maps the surrogate pairs of text[begin, end) (a pair may end past `end`),
// finding the surrogates eight units at a time: most text holds none.
void MapPairsOfPiece(char16_t* text, size_t begin, size_t end, size_t length, const ScriptTable& table) {
  size_t i = begin;
  const __m128i top = _mm_set1_epi16(static_cast<short>(0xF800));
  const __m128i surrogate = _mm_set1_epi16(static_cast<short>(0xD800));
  for (; i + 8 <= end; i += 8) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, top), surrogate)) != 0)
      MapPairs(text, i, i + 8, length, table);
  }
  MapPairs(text, i, end, length, table);
}

}  // namespace

void MapChineseScript(char16_t* text, size_t length, ChineseScript target) {
  const ScriptTable& table = TableFor(target);
  const char16_t* bmp = table.bmp.data();
  const bool pairsMap = !table.supplementary.empty();
  // The BMP table maps every surrogate to itself, so every unit goes through
  // it first, in a loop that does nothing else; then the piece, still in the
  // cache, is searched for surrogates eight units at a time and its pairs
  // are mapped. A pair may reach into the next piece, which the table leaves
  // alone.
  constexpr size_t kPiece = 2048;
  for (size_t begin = 0; begin < length; begin += kPiece) {
    const size_t end = length - begin < kPiece ? length : begin + kPiece;
    size_t i = begin;
    for (; i + 4 <= end; i += 4) {
      const char16_t a = bmp[text[i]], b = bmp[text[i + 1]], c = bmp[text[i + 2]], d = bmp[text[i + 3]];
      text[i] = a;
      text[i + 1] = b;
      text[i + 2] = c;
      text[i + 3] = d;
    }
    for (; i < end; ++i) text[i] = bmp[text[i]];
    if (pairsMap) MapPairsOfPiece(text, begin, end, length, table);
  }
}

size_t ChineseScriptTableSize(ChineseScript target) { return TableFor(target).changed; }

}  // namespace qzu
