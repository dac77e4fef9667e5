#include "platform/code_page_codec.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/system_code_page.h"

namespace qzu {

namespace {

// Windows writes "?" for every character a code page lacks; ICU's default
// substitution silently drops the default-ignorable ones (U+00AD, U+034F...)
// and may use a charset-specific substitute, so we write "?" ourselves.
void QuestionMarkFromUnicode(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t, UChar32,
                             UConverterCallbackReason reason, UErrorCode* err) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone: nothing to write
  *err = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, "?", 1, 0, err);
}

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenDecoder(const std::string& name) {
  UErrorCode err = U_ZERO_ERROR;
  ConverterPtr cnv(ucnv_open(name.c_str(), &err));
  if (U_FAILURE(err)) return nullptr;
  return cnv;
}

ConverterPtr OpenEncoder(const std::string& name) {
  ConverterPtr cnv = OpenDecoder(name);
  if (!cnv) return nullptr;
  // Best fit as Windows does (¥ -> ￥, ³ -> 3 ...).
  ucnv_setFallback(cnv.get(), true);
  UErrorCode err = U_ZERO_ERROR;
  ucnv_setFromUCallBack(cnv.get(), QuestionMarkFromUnicode, nullptr, nullptr, nullptr, &err);
  return cnv;
}

void IcuDecode(UConverter* cnv, std::string_view bytes, std::u16string& out) {
  const size_t start = out.size();
  // Most charsets give at most one unit per byte; grow when one does not.
  size_t capacity = bytes.size() + 16;
  out.resize(start + capacity);
  const char* src = bytes.data();
  const char* srcEnd = src + bytes.size();
  size_t written = 0;
  for (;;) {
    UChar* dst = reinterpret_cast<UChar*>(out.data() + start + written);
    UChar* dstBegin = dst;
    UChar* dstEnd = reinterpret_cast<UChar*>(out.data() + start + capacity);
    UErrorCode err = U_ZERO_ERROR;
    ucnv_toUnicode(cnv, &dst, dstEnd, &src, srcEnd, nullptr, true, &err);
    written += static_cast<size_t>(dst - dstBegin);
    if (err != U_BUFFER_OVERFLOW_ERROR) break;
    capacity = capacity * 2 + 16;
    out.resize(start + capacity);
  }
  out.resize(start + written);
}

void IcuEncode(UConverter* cnv, std::u16string_view text, std::string& out) {
  const size_t start = out.size();
  size_t capacity = text.size() * static_cast<size_t>(ucnv_getMaxCharSize(cnv)) + 16;
  out.resize(start + capacity);
  const UChar* src = reinterpret_cast<const UChar*>(text.data());
  const UChar* srcEnd = src + text.size();
  size_t written = 0;
  for (;;) {
    char* dst = out.data() + start + written;
    char* dstBegin = dst;
    char* dstEnd = out.data() + start + capacity;
    UErrorCode err = U_ZERO_ERROR;
    ucnv_fromUnicode(cnv, &dst, dstEnd, &src, srcEnd, nullptr, true, &err);
    written += static_cast<size_t>(dst - dstBegin);
    if (err != U_BUFFER_OVERFLOW_ERROR) break;
    capacity = capacity * 2 + 16;
    out.resize(start + capacity);
  }
  out.resize(start + written);
}

// Any ICU converter; a fresh converter per call keeps the codec usable from
// several threads (opening one is cheap once ICU has loaded its table).
class IcuCodec : public CharsetCodec {
 public:
  explicit IcuCodec(std::string name) : m_name(std::move(name)) {}
  void Decode(std::string_view bytes, std::u16string& out) const override {
    if (bytes.empty()) return;
    if (ConverterPtr cnv = OpenDecoder(m_name)) IcuDecode(cnv.get(), bytes, out);
  }
  void Encode(std::u16string_view text, std::string& out) const override {
    if (text.empty()) return;
    if (ConverterPtr cnv = OpenEncoder(m_name)) IcuEncode(cnv.get(), text, out);
  }
  const std::string& Name() const override { return m_name; }

 private:
  std::string m_name;
};

// A stateless single/double-byte code page (windows-936, 950, 949, 932) as
// two lookup tables built once from ICU's own converter, so it gives ICU's
// results byte for byte, invalid input included, at the speed of a plain loop.
class DbcsTableCodec : public CharsetCodec {
 public:
  // Null when the converter does not fit the table model; then ICU is used.
  static std::shared_ptr<const CharsetCodec> Build(const std::string& name);

  void Decode(std::string_view bytes, std::u16string& out) const override;
  void Encode(std::u16string_view text, std::string& out) const override;
  const std::string& Name() const override { return m_name; }
  size_t MaxUnits(size_t byteCount) const override { return byteCount; }
  size_t DecodeInto(std::string_view bytes, char16_t* dst) const override;
  size_t MaxBytes(size_t unitCount) const override { return unitCount * 2; }
  size_t EncodeInto(std::u16string_view text, char* dst) const override;

 private:
  // Kept small so the hot part stays in the cache: every lead byte is 0x80
  // or above (checked), so a pair is indexed by the lead's low seven bits and
  // the trail byte.
  bool IsLead(uint32_t b) const {
    return m_leadRange ? (b - m_firstLead) <= m_leadSpan : ((m_isLead[b >> 5] >> (b & 31)) & 1) != 0;
  }

  std::string m_name;
  // Lead bytes that form one range (as in 936, 949, 950) are tested with a
  // comparison instead of the bitmap.
  bool m_leadRange = false;
  uint32_t m_firstLead = 0;
  uint32_t m_leadSpan = 0;
  // Bytes below 0x80 and units below U+0080 map to each other.
  bool m_asciiIdentity = false;
  // What a byte decodes to alone: the character of a single byte, or what a
  // lead byte cut off by the end of the input gives.
  uint16_t m_single[256] = {};
  uint32_t m_isLead[8] = {};
  std::vector<uint16_t> m_pairUnits;  // [(lead & 0x7F) << 8 | trail]
  // Set where the lead byte decodes on its own and the trail byte starts over.
  std::vector<uint32_t> m_leadAlone;
  // Encode entries for every BMP unit: below 0x100 a single byte, else lead
  // byte in the high half and trail byte in the low half (leads are >= 0x81).
  std::vector<uint16_t> m_encode;
  // Bytes of a code point above the BMP; the same for all of them in these
  // code pages (checked when the table is built).
  std::string m_supplementary;
};

std::u16string DecodeWithFlush(UConverter* cnv, const char* bytes, size_t n) {
  ucnv_resetToUnicode(cnv);
  std::u16string out;
  IcuDecode(cnv, std::string_view(bytes, n), out);
  return out;
}

std::shared_ptr<const CharsetCodec> DbcsTableCodec::Build(const std::string& name) {
  ConverterPtr dec = OpenDecoder(name);
  ConverterPtr enc = OpenEncoder(name);
  if (!dec || !enc) return nullptr;
  if (ucnv_getMaxCharSize(dec.get()) != 2 || ucnv_getMinCharSize(dec.get()) != 1) return nullptr;
  const UConverterType type = ucnv_getType(dec.get());
  if (type != UCNV_DBCS && type != UCNV_MBCS) return nullptr;

  auto codec = std::make_shared<DbcsTableCodec>();
  codec->m_name = name;
  codec->m_pairUnits.assign(128 * 256, 0);
  codec->m_leadAlone.assign(128 * 256 / 32, 0);
  bool isLead[256] = {};
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    // A lead byte leaves the converter waiting for its trail byte.
    ucnv_resetToUnicode(dec.get());
    UChar probe[4];
    UChar* dst = probe;
    const char* src = &byte;
    UErrorCode err = U_ZERO_ERROR;
    ucnv_toUnicode(dec.get(), &dst, probe + 4, &src, &byte + 1, nullptr, false, &err);
    isLead[b] = U_SUCCESS(err) && dst == probe;
    if (isLead[b] && b < 0x80) return nullptr;
    const std::u16string alone = DecodeWithFlush(dec.get(), &byte, 1);
    if (alone.size() != 1) return nullptr;
    codec->m_single[b] = alone[0];
    if (isLead[b]) codec->m_isLead[b >> 5] |= 1u << (b & 31);
  }
  int first = -1, last = -1, leads = 0;
  for (int b = 0; b < 256; ++b) {
    if (!isLead[b]) continue;
    if (first < 0) first = b;
    last = b;
    ++leads;
  }
  if (leads == 0) return nullptr;
  codec->m_leadRange = leads == last - first + 1;
  codec->m_firstLead = static_cast<uint32_t>(first);
  codec->m_leadSpan = static_cast<uint32_t>(last - first);
  codec->m_asciiIdentity = true;
  for (int b = 0; b < 0x80; ++b)
    if (codec->m_single[b] != b || isLead[b]) codec->m_asciiIdentity = false;
  for (int b = 0x80; b < 0x100; ++b)
    if (!isLead[b]) std::fill_n(codec->m_pairUnits.begin() + (b & 0x7F) * 256, 256, u'\uFFFD');
  for (int lead = 0; lead < 256; ++lead) {
    if (!isLead[lead]) continue;
    for (int trail = 0; trail < 256; ++trail) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string r = DecodeWithFlush(dec.get(), pair, 2);
      const size_t index = static_cast<size_t>(lead & 0x7F) << 8 | static_cast<size_t>(trail);
      if (r.size() == 2 && r[1] == codec->m_single[trail]) {
        if (r[0] != 0xFFFD) return nullptr;  // the decoder relies on it
        codec->m_leadAlone[index >> 5] |= 1u << (index & 31);
      } else if (r.size() != 1) {
        return nullptr;
      }
      codec->m_pairUnits[index] = r[0];
    }
  }

  codec->m_encode.assign(0x10000, '?');
  std::string bytes;
  for (uint32_t u = 0; u < 0x10000; ++u) {
    if (u >= 0xD800 && u <= 0xDFFF) continue;  // lone surrogates stay "?"
    const char16_t unit = static_cast<char16_t>(u);
    ucnv_resetFromUnicode(enc.get());
    bytes.clear();
    IcuEncode(enc.get(), std::u16string_view(&unit, 1), bytes);
    if (bytes.size() == 1) {
      codec->m_encode[u] = static_cast<uint8_t>(bytes[0]);
    } else if (bytes.size() == 2 && static_cast<uint8_t>(bytes[0]) >= 0x81) {
      codec->m_encode[u] = static_cast<uint16_t>((static_cast<uint8_t>(bytes[0]) << 8) | static_cast<uint8_t>(bytes[1]));
    } else {
      return nullptr;
    }
  }
  // Characters above the BMP: one result shared by all, or no table.
  const char16_t probes[][2] = {{0xD800, 0xDC00}, {0xD840, 0xDC00}, {0xD83D, 0xDE00}, {0xDBFF, 0xDFFF}};
  for (size_t i = 0; i < std::size(probes); ++i) {
    ucnv_resetFromUnicode(enc.get());
    bytes.clear();
    IcuEncode(enc.get(), std::u16string_view(probes[i], 2), bytes);
    if (i == 0) codec->m_supplementary = bytes;
    else if (bytes != codec->m_supplementary) return nullptr;
  }
  if (codec->m_supplementary.size() > 4) return nullptr;  // MaxBytes would not hold
  for (uint16_t u = 0; u < 0x80; ++u)
    if (codec->m_encode[u] != u) codec->m_asciiIdentity = false;
  return codec;
}

size_t DbcsTableCodec::DecodeInto(std::string_view bytes, char16_t* out) const {
  char16_t* dst = out;
  const uint8_t* p = reinterpret_cast<const uint8_t*>(bytes.data());
  const uint8_t* const end = p + bytes.size();
  const uint16_t* const single = m_single;
  const uint16_t* const pairs = m_pairUnits.data();
  const uint32_t* const leadAlone = m_leadAlone.data();
  // The rare cases (a bad trail byte, a lead cut off by the end) are
  // branches rather than arithmetic, so that the pointer's advance does not
  // wait for a table load and the loop runs ahead on prediction.
  // The last byte is handled after the loop, so a lead byte in the loop
  // always has a next byte.
  const uint8_t* const last = end - (bytes.empty() ? 0 : 1);
  while (p < last) {
    const uint32_t b = *p;
    if (IsLead(b)) {
      // Runs of double-byte characters stay in these inner loops, two
      // characters a step while both are plain pairs.
      uint32_t lead = b;
      // Four characters a step while the bytes in lead position all have
      // their top bit set: the rows of bytes from 0x80 up that are not lead
      // bytes hold U+FFFD, so any doubt sends the step to the loops below.
      while (end - p >= 8) {
        uint64_t w;
        std::memcpy(&w, p, 8);
        if ((w & 0x0080008000800080ull) != 0x0080008000800080ull) break;
        const char16_t u0 = pairs[((w & 0x7F) << 8) | ((w >> 8) & 0xFF)];
        const char16_t u1 = pairs[(((w >> 16) & 0x7F) << 8) | ((w >> 24) & 0xFF)];
        const char16_t u2 = pairs[(((w >> 32) & 0x7F) << 8) | ((w >> 40) & 0xFF)];
        const char16_t u3 = pairs[(((w >> 48) & 0x7F) << 8) | (w >> 56)];
        if ((u0 == 0xFFFD) | (u1 == 0xFFFD) | (u2 == 0xFFFD) | (u3 == 0xFFFD)) break;
        dst[0] = u0;
        dst[1] = u1;
        dst[2] = u2;
        dst[3] = u3;
        dst += 4;
        p += 8;
      }
      if (p >= last || !IsLead(*p)) continue;
      while (end - p >= 4 && IsLead(p[2])) {
        const uint32_t i0 = ((static_cast<uint32_t>(p[0]) & 0x7F) << 8) | p[1];
        const uint32_t i1 = ((static_cast<uint32_t>(p[2]) & 0x7F) << 8) | p[3];
        const char16_t u0 = pairs[i0], u1 = pairs[i1];
        if (u0 == 0xFFFD || u1 == 0xFFFD) break;  // the careful loop below decides
        dst[0] = u0;
        dst[1] = u1;
        dst += 2;
        p += 4;
        if (p >= last || !IsLead(*p)) break;
      }
      if (p >= last || !IsLead(*p)) continue;
      lead = *p;
      for (;;) {
        const uint32_t index = ((lead & 0x7F) << 8) | p[1];
        const char16_t unit = pairs[index];
        *dst++ = unit;
        // A lead byte alone decodes to U+FFFD; only then is the bitmap read.
        if (unit == 0xFFFD && (leadAlone[index >> 5] & (1u << (index & 31)))) [[unlikely]] {
          p += 1;
          break;
        }
        p += 2;
        if (p >= last) break;
        lead = *p;
        if (!IsLead(lead)) break;
      }
      continue;
    }
#if defined(__SSE2__)
    if (b < 0x80 && end - p >= 16) {
      // ASCII runs, sixteen bytes at a time. Every code page with a table
      // here maps the bytes below 0x80 to themselves (checked when built).
      // The sixteen units are stored even when fewer bytes are ASCII: only
      // those are kept, and there is room, as no byte gives more than one
      // unit and sixteen bytes remain.
      if (m_asciiIdentity) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(v));
        const __m128i zero = _mm_setzero_si128();
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8), _mm_unpackhi_epi8(v, zero));
        const unsigned ascii = high ? static_cast<unsigned>(__builtin_ctz(high)) : 16u;
        dst += ascii;
        p += ascii;
        continue;
      }
    }
#endif
    *dst++ = single[b];
    ++p;
  }
  if (p < end) *dst++ = single[*p];  // a last byte alone, a cut-off lead too
  return static_cast<size_t>(dst - out);
}

void DbcsTableCodec::Decode(std::string_view bytes, std::u16string& out) const {
  const size_t start = out.size();
  out.resize(start + bytes.size());  // never more units than bytes
  out.resize(start + DecodeInto(bytes, out.data() + start));
}

size_t DbcsTableCodec::EncodeInto(std::u16string_view text, char* out) const {
  char* dst = out;
  const char16_t* p = text.data();
  const char16_t* const end = p + text.size();
  const uint16_t* const table = m_encode.data();
  while (p < end) {
#if defined(__SSE2__)
    if (*p < 0x80 && m_asciiIdentity && end - p >= 8) {
      // Eight bytes are stored and those of the leading ASCII units kept:
      // eight units remain, and each has room for two bytes.
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
      const unsigned notAscii =
          ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, high), _mm_setzero_si128()))) &
          0xFFFFu;
      _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(v, v));
      const unsigned ascii = notAscii ? static_cast<unsigned>(__builtin_ctz(notAscii)) / 2 : 8u;
      dst += ascii;
      p += ascii;
      continue;
    }
#endif
    const char16_t u = *p++;
    if ((u & 0xFC00) == 0xD800 && p < end && (*p & 0xFC00) == 0xDC00) {
      ++p;  // a pair: at most two bytes per unit, as the table was checked
      for (char c : m_supplementary) *dst++ = c;
      continue;
    }
    const uint16_t e = table[u];
    if (e < 0x100) {
      *dst++ = static_cast<char>(e);
    } else {
      dst[0] = static_cast<char>(e >> 8);
      dst[1] = static_cast<char>(e & 0xFF);
      dst += 2;
    }
  }
  return static_cast<size_t>(dst - out);
}

void DbcsTableCodec::Encode(std::u16string_view text, std::string& out) const {
  const size_t start = out.size();
  out.resize(start + MaxBytes(text.size()));
  out.resize(start + EncodeInto(text, out.data() + start));
}

// ICU name of a Windows code page: its "windows-N" alias where ICU has one,
// else the DOS/IBM names.
std::string IcuNameOfCodePage(int codePage) {
  if (codePage == 65001) return "UTF-8";
  char buffer[32];
  for (const char* pattern : {"windows-%d", "ibm-%d", "cp%d"}) {
    std::snprintf(buffer, sizeof buffer, pattern, codePage);
    if (OpenDecoder(buffer)) return buffer;
  }
  return std::string();
}

std::shared_ptr<const CharsetCodec> MakeCodec(const std::string& icuName) {
  // The table only pays off (and is only checked) for the double-byte
  // Windows code pages; the rest use ICU directly.
  ConverterPtr probe = OpenDecoder(icuName);
  if (!probe) return nullptr;
  const UConverterType type = ucnv_getType(probe.get());
  if (ucnv_getMaxCharSize(probe.get()) == 2 && (type == UCNV_DBCS || type == UCNV_MBCS)) {
    if (auto table = DbcsTableCodec::Build(icuName)) return table;
  }
  return std::make_shared<IcuCodec>(icuName);
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
  ConverterPtr probe = OpenDecoder(icuName);
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
