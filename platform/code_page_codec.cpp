#include "platform/code_page_codec.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <mutex>

#include "platform/double_byte_codec.h"
#include "platform/icu_converter.h"
#include "platform/system_code_page.h"

namespace qzu {

size_t CharsetCodec::EncodeCountingInto(std::u16string_view text, char* dst, size_t& replaced) const {
  const size_t size = EncodeInto(text, dst);
  const auto written = static_cast<size_t>(std::count(dst, dst + size, '?'));
  const auto given = static_cast<size_t>(std::count(text.begin(), text.end(), u'?'));
  replaced += written > given ? written - given : 0;
  return size;
}

namespace {

// ICU name of a Windows code page: its "windows-N" alias where ICU has one,
// else the DOS/IBM names.
std::string IcuNameOfCodePage(int codePage) {
  if (codePage == 65001) return "UTF-8";
  char buffer[32];
  for (const char* pattern : {"windows-%d", "ibm-%d", "cp%d"}) {
    std::snprintf(buffer, sizeof buffer, pattern, codePage);
    if (icu::OpenDecoder(buffer)) return buffer;
  }
  return std::string();
}

std::shared_ptr<const CharsetCodec> MakeCodec(const std::string& icuName) {
  // The table only pays off (and is only checked) for the double-byte
  // Windows code pages; the rest use ICU directly.
  icu::ConverterPtr probe = icu::OpenDecoder(icuName);
  if (!probe) return nullptr;
  const UConverterType type = ucnv_getType(probe.get());
  if (ucnv_getMaxCharSize(probe.get()) == 2 && (type == UCNV_DBCS || type == UCNV_MBCS)) {
    if (auto table = BuildDoubleByteCodec(icuName)) return table;
  }
  return icu::MakeIcuCodec(icuName);
}

std::mutex g_cacheMutex;
std::map<std::string, std::shared_ptr<const CharsetCodec>>& CodecCache() {
  static std::map<std::string, std::shared_ptr<const CharsetCodec>> cache;
  return cache;
}

// One codec per ICU converter name, built once.
std::shared_ptr<const CharsetCodec> CachedCodec(const std::string& icuName) {
  if (icuName.empty()) return nullptr;
  UErrorCode err = U_ZERO_ERROR;
  icu::ConverterPtr probe = icu::OpenDecoder(icuName);
  if (!probe) return nullptr;
  const std::string key = ucnv_getName(probe.get(), &err);
  std::lock_guard<std::mutex> lock(g_cacheMutex);
  auto& cache = CodecCache();
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  auto codec = MakeCodec(icuName);
  cache[key] = codec;
  return codec;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

}  // namespace

int WindowsCodePageOfName(std::string_view name) {
  // Names of the program's code-page table whose Windows code page is not
  // what ICU opens for the same name, or that ICU does not know at all.
  static const struct {
    const char* name;
    int codePage;
  } kNames[] = {
      {"iso-8859-1", 1252},  // Windows reads Latin-1 text as code page 1252
      {"iso-8859-9", 1254},  // and Turkish as 1254
      {"koi8-ru", 21866},    // KOI8-U; ICU lacks the name
  };
  for (const auto& entry : kNames)
    if (EqualsIgnoreAsciiCase(name, entry.name)) return entry.codePage;
  return 0;
}

// Answers already given, by code page and by lower-cased name, so that the
// many small conversions of a run do not open ICU converters to find a codec
// they already have. Unknown names are remembered too, up to a limit.
struct LookupCache {
  std::mutex mutex;
  std::map<int, std::shared_ptr<const CharsetCodec>> byCodePage;
  std::map<std::string, std::shared_ptr<const CharsetCodec>> byName;
};

LookupCache& Lookups() {
  static LookupCache cache;
  return cache;
}

std::shared_ptr<const CharsetCodec> CodePageCodec(int codePage) {
  if (codePage <= 0) return nullptr;
  LookupCache& cache = Lookups();
  {
    std::lock_guard<std::mutex> lock(cache.mutex);
    auto it = cache.byCodePage.find(codePage);
    if (it != cache.byCodePage.end()) return it->second;
  }
  auto codec = CachedCodec(IcuNameOfCodePage(codePage));
  std::lock_guard<std::mutex> lock(cache.mutex);
  if (cache.byCodePage.size() < 1000) cache.byCodePage[codePage] = codec;
  return codec;
}

std::shared_ptr<const CharsetCodec> SystemCodePageCodec() {
  if (auto codec = CodePageCodec(GetSystemCodePage())) return codec;
  return CodePageCodec(936);
}

std::shared_ptr<const CharsetCodec> OpenCharset(std::string_view name) {
  if (name.empty()) return nullptr;  // ICU would open its default converter
  for (char c : name)
    if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7F) return nullptr;
  if (const int codePage = WindowsCodePageOfName(name)) return CodePageCodec(codePage);
  std::string key(name);
  for (char& c : key) c = AsciiLower(c);
  LookupCache& cache = Lookups();
  {
    std::lock_guard<std::mutex> lock(cache.mutex);
    auto it = cache.byName.find(key);
    if (it != cache.byName.end()) return it->second;
  }
  auto codec = CachedCodec(key);
  std::lock_guard<std::mutex> lock(cache.mutex);
  if (cache.byName.size() < 1000) cache.byName[key] = codec;
  return codec;
}

}  // namespace qzu

