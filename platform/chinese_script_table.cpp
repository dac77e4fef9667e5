#include "platform/chinese_script_table.h"

#include <opencc/DictEntry.hpp>
#include <opencc/Lexicon.hpp>
#include <opencc/MarisaDict.hpp>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>

#include "common/utf.h"

namespace qzu {
namespace {

// OpenCC's data folder, set by the build (QZU_OPENCC_DATA_DIR).
constexpr const char* kDictionaryFolder = QZU_OPENCC_DATA_DIR "/";

struct ScriptTable {
  std::array<char16_t, 0x10000> bmp{};                  // identity where nothing maps
  std::unordered_map<char32_t, char32_t> supplementary;  // only the pairs that map
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

void Load(ScriptTable& table, const char* dictionary) {
  for (size_t i = 0; i < table.bmp.size(); ++i) table.bmp[i] = static_cast<char16_t>(i);
  const std::string path = std::string(kDictionaryFolder) + dictionary;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return;
  try {
    const opencc::MarisaDictPtr dict = opencc::MarisaDict::NewFromFile(file.get());
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

void MapChineseScript(char16_t* text, size_t length, ChineseScript target) {
  const ScriptTable& table = TableFor(target);
  const char16_t* bmp = table.bmp.data();
  for (size_t i = 0; i < length; ++i) {
    const char16_t c = text[i];
    if (c < 0xD800 || c > 0xDFFF) {
      text[i] = bmp[c];
      continue;
    }
    if (c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      const char32_t cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      const auto it = table.supplementary.find(cp);
      if (it != table.supplementary.end()) {
        const char32_t to = it->second - 0x10000;
        text[i] = static_cast<char16_t>(0xD800 + (to >> 10));
        text[i + 1] = static_cast<char16_t>(0xDC00 + (to & 0x3FF));
      }
      ++i;
    }
  }
}

size_t ChineseScriptTableSize(ChineseScript target) { return TableFor(target).changed; }

}  // namespace qzu
