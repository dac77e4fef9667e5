#include "platform/chinese_script_table.h"

#include <opencc/DictEntry.hpp>
#include <opencc/Lexicon.hpp>
#include <opencc/MarisaDict.hpp>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>

namespace qzu {
namespace {

// OpenCC's data folder on Debian.
constexpr const char* kDictionaryFolder = "/usr/share/opencc/";

struct ScriptTable {
  std::array<char16_t, 0x10000> bmp{};                  // identity where nothing maps
  std::unordered_map<char32_t, char32_t> supplementary;  // only the pairs that map
  size_t changed = 0;
};

// The single code point of a UTF-8 text, or 0 when it holds none or several.
char32_t SingleCodePoint(const std::string& s) {
  if (s.empty()) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  size_t n = 0;
  char32_t cp = 0;
  if (p[0] < 0x80) n = 1, cp = p[0];
  else if ((p[0] & 0xE0) == 0xC0) n = 2, cp = p[0] & 0x1F;
  else if ((p[0] & 0xF0) == 0xE0) n = 3, cp = p[0] & 0x0F;
  else if ((p[0] & 0xF8) == 0xF0) n = 4, cp = p[0] & 0x07;
  else return 0;
  if (s.size() != n) return 0;
  for (size_t i = 1; i < n; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
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
