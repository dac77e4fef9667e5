#include "platform/double_byte_codec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

#include "common/ascii_blocks.h"
#include "platform/icu_converter.h"

namespace qzu {

namespace {

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
  size_t EncodeCountingInto(std::u16string_view text, char* dst, size_t& replaced) const override;
  // Three bytes for each byte at most (a single byte may stand for a
  // character of three UTF-8 bytes), and one spare for four-byte stores.
  size_t MaxUtf8Bytes(size_t byteCount) const override { return m_pairUtf8.empty() ? 0 : byteCount * 3 + 1; }
  size_t DecodeToUtf8Into(std::string_view bytes, char* dst) const override;
  size_t IndependentPrefix(std::string_view bytes) const override;

 private:
  // Kept small so the hot part stays in the cache: every lead byte is 0x80
  // or above (checked), so a pair is indexed by the lead's low seven bits and
  // the trail byte.
  bool IsLead(uint32_t b) const {
    return m_leadRange ? (b - m_firstLead) <= m_leadSpan : ((m_isLead[b >> 5] >> (b & 31)) & 1) != 0;
  }
  template <typename Emitter>
  void DecodeWith(std::string_view bytes, Emitter& out) const;
  template <bool kCount>
  size_t EncodeWith(std::u16string_view text, char* out, size_t& replaced) const;
  void BuildUtf8Tables();

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
  size_t m_supplementaryMarks = 0;  // the "?" among them
  // The UTF-8 bytes of what m_single and m_pairUnits hold, in the low three
  // bytes, with their count in the high byte. Empty when some unit is a
  // surrogate, which UTF-8 could only encode together with its neighbour.
  uint32_t m_singleUtf8[256] = {};
  std::vector<uint32_t> m_pairUtf8;
  // Bytes that are neither lead bytes nor ever taken as a trail byte: the
  // decoding after one does not depend on what came before it.
  uint32_t m_standsAlone[8] = {};
};

// The UTF-8 bytes of one BMP unit that is not a surrogate, packed as above.
uint32_t PackedUtf8(uint32_t u) {
  if (u < 0x80) return u | 1u << 24;
  if (u < 0x800) return (0xC0 | u >> 6) | (0x80 | (u & 0x3F)) << 8 | 2u << 24;
  return (0xE0 | u >> 12) | (0x80 | ((u >> 6) & 0x3F)) << 8 | (0x80 | (u & 0x3F)) << 16 | 3u << 24;
}

bool IsSurrogate(uint32_t u) { return (u & 0xF800) == 0xD800; }

// Where the decoder puts what it decodes: UTF-16 units...
struct UnitEmitter {
  using Value = char16_t;
  const uint16_t* single;
  const uint16_t* pairs;
  char16_t* dst;
  Value Pair(uint32_t index) const { return pairs[index]; }
  static bool IsReplacement(Value v) { return v == 0xFFFD; }
  void Put(Value v) { *dst++ = v; }
  void PutFour(Value v0, Value v1, Value v2, Value v3) {
    dst[0] = v0;
    dst[1] = v1;
    dst[2] = v2;
    dst[3] = v3;
    dst += 4;
  }
  void PutSingle(uint32_t b) { *dst++ = single[b]; }
#if defined(QZU_ASCII_BLOCKS)
  // The ASCII bytes at the start of sixteen, widened; returns their count.
  unsigned PutAscii(const uint8_t* p) {
    const unsigned count = WidenAsciiBlock(p, dst);
    dst += count;
    return count;
  }
#endif
};

// ...or their UTF-8 bytes. Four bytes are stored for each character and the
// count kept; the room of three bytes per input byte plus one covers that.
struct Utf8Emitter {
  using Value = uint32_t;
  const uint32_t* single;
  const uint32_t* pairs;
  char* dst;
  Value Pair(uint32_t index) const { return pairs[index]; }
  static bool IsReplacement(Value v) { return v == (0xBDBFEFu | 3u << 24); }
  void Put(Value v) {
    std::memcpy(dst, &v, 4);
    dst += v >> 24;
  }
  // Four characters of three bytes each, the common case of Chinese text, go
  // to fixed places, so that no store waits for the count of the one before.
  void PutFour(Value v0, Value v1, Value v2, Value v3) {
    if ((v0 & v1 & v2 & v3) >> 24 != 3) {
      Put(v0);
      Put(v1);
      Put(v2);
      Put(v3);
      return;
    }
    std::memcpy(dst, &v0, 4);
    std::memcpy(dst + 3, &v1, 4);
    std::memcpy(dst + 6, &v2, 4);
    std::memcpy(dst + 9, &v3, 4);
    dst += 12;
  }
  void PutSingle(uint32_t b) { Put(single[b]); }
#if defined(QZU_ASCII_BLOCKS)
  unsigned PutAscii(const uint8_t* p) {
    const unsigned count = CopyAsciiBlock(p, dst);
    dst += count;
    return count;
  }
#endif
};

std::u16string DecodeWithFlush(UConverter* cnv, const char* bytes, size_t n) {
  ucnv_resetToUnicode(cnv);
  std::u16string out;
  icu::Decode(cnv, std::string_view(bytes, n), out);
  return out;
}

std::shared_ptr<const CharsetCodec> DbcsTableCodec::Build(const std::string& name) {
  icu::ConverterPtr dec = icu::OpenDecoder(name);
  icu::ConverterPtr enc = icu::OpenEncoder(name);
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
    icu::Encode(enc.get(), std::u16string_view(&unit, 1), bytes);
    if (bytes.size() == 1) {
      codec->m_encode[u] = static_cast<uint8_t>(bytes[0]);
    } else if (bytes.size() == 2 && static_cast<uint8_t>(bytes[0]) >= 0x81) {
      codec->m_encode[u] = static_cast<uint16_t>((static_cast<uint8_t>(bytes[0]) << 8) | static_cast<uint8_t>(bytes[1]));
    } else {
      return nullptr;
    }
  }
  // A best fit that would read back as a control character is a "?".
  for (const UChar32 c : icu::ControlBestFits(name)) {
    if (c > 0xFFFF) return nullptr;  // the table keeps one result above the BMP
    codec->m_encode[static_cast<size_t>(c)] = '?';
  }
  // Characters above the BMP: one result shared by all, or no table.
  const char16_t probes[][2] = {{0xD800, 0xDC00}, {0xD840, 0xDC00}, {0xD83D, 0xDE00}, {0xDBFF, 0xDFFF}};
  for (size_t i = 0; i < std::size(probes); ++i) {
    ucnv_resetFromUnicode(enc.get());
    bytes.clear();
    icu::Encode(enc.get(), std::u16string_view(probes[i], 2), bytes);
    if (i == 0) codec->m_supplementary = bytes;
    else if (bytes != codec->m_supplementary) return nullptr;
  }
  if (codec->m_supplementary.size() > 4) return nullptr;  // MaxBytes would not hold
  codec->m_supplementaryMarks = static_cast<size_t>(std::count(codec->m_supplementary.begin(), codec->m_supplementary.end(), '?'));
  for (uint16_t u = 0; u < 0x80; ++u)
    if (codec->m_encode[u] != u) codec->m_asciiIdentity = false;
  codec->BuildUtf8Tables();
  // A byte stands alone when it is no lead byte and every lead byte before it
  // decodes on its own.
  for (uint32_t b = 0; b < 256; ++b) {
    if (isLead[b]) continue;
    bool alone = true;
    for (uint32_t lead = 0x80; lead < 256 && alone; ++lead) {
      const size_t index = (lead & 0x7F) << 8 | b;
      if (isLead[lead] && !(codec->m_leadAlone[index >> 5] & (1u << (index & 31)))) alone = false;
    }
    if (alone) codec->m_standsAlone[b >> 5] |= 1u << (b & 31);
  }
  return codec;
}

void DbcsTableCodec::BuildUtf8Tables() {
  for (const uint16_t u : m_single)
    if (IsSurrogate(u)) return;
  for (const uint16_t u : m_pairUnits)
    if (IsSurrogate(u)) return;
  for (int b = 0; b < 256; ++b) m_singleUtf8[b] = PackedUtf8(m_single[b]);
  m_pairUtf8.resize(m_pairUnits.size());
  for (size_t i = 0; i < m_pairUnits.size(); ++i) m_pairUtf8[i] = PackedUtf8(m_pairUnits[i]);
}

template <typename Emitter>
void DbcsTableCodec::DecodeWith(std::string_view bytes, Emitter& out) const {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(bytes.data());
  const uint8_t* const end = p + bytes.size();
  using Value = typename Emitter::Value;
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
        const Value u0 = out.Pair(static_cast<uint32_t>(((w & 0x7F) << 8) | ((w >> 8) & 0xFF)));
        const Value u1 = out.Pair(static_cast<uint32_t>((((w >> 16) & 0x7F) << 8) | ((w >> 24) & 0xFF)));
        const Value u2 = out.Pair(static_cast<uint32_t>((((w >> 32) & 0x7F) << 8) | ((w >> 40) & 0xFF)));
        const Value u3 = out.Pair(static_cast<uint32_t>((((w >> 48) & 0x7F) << 8) | (w >> 56)));
        if (Emitter::IsReplacement(u0) | Emitter::IsReplacement(u1) | Emitter::IsReplacement(u2) |
            Emitter::IsReplacement(u3))
          break;
        out.PutFour(u0, u1, u2, u3);
        p += 8;
      }
      if (p >= last || !IsLead(*p)) continue;
      while (end - p >= 4 && IsLead(p[2])) {
        const uint32_t i0 = ((static_cast<uint32_t>(p[0]) & 0x7F) << 8) | p[1];
        const uint32_t i1 = ((static_cast<uint32_t>(p[2]) & 0x7F) << 8) | p[3];
        const Value u0 = out.Pair(i0), u1 = out.Pair(i1);
        if (Emitter::IsReplacement(u0) || Emitter::IsReplacement(u1)) break;  // the careful loop below decides
        out.Put(u0);
        out.Put(u1);
        p += 4;
        if (p >= last || !IsLead(*p)) break;
      }
      if (p >= last || !IsLead(*p)) continue;
      lead = *p;
      for (;;) {
        const uint32_t index = ((lead & 0x7F) << 8) | p[1];
        const Value unit = out.Pair(index);
        out.Put(unit);
        // A lead byte alone decodes to U+FFFD; only then is the bitmap read.
        if (Emitter::IsReplacement(unit) && (leadAlone[index >> 5] & (1u << (index & 31)))) [[unlikely]] {
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
#if defined(QZU_ASCII_BLOCKS)
    // ASCII runs, sixteen bytes at a time. Every code page with a table here
    // maps the bytes below 0x80 to themselves (checked when built). A whole
    // block is stored even when fewer bytes are ASCII: there is room, as no
    // byte gives more than one item and sixteen bytes remain.
    if (b < 0x80 && end - p >= 16 && m_asciiIdentity) {
      p += out.PutAscii(p);
      continue;
    }
#endif
    out.PutSingle(b);
    ++p;
  }
  if (p < end) out.PutSingle(*p);  // a last byte alone, a cut-off lead too
}

size_t DbcsTableCodec::DecodeInto(std::string_view bytes, char16_t* dst) const {
  UnitEmitter out{m_single, m_pairUnits.data(), dst};
  DecodeWith(bytes, out);
  return static_cast<size_t>(out.dst - dst);
}

size_t DbcsTableCodec::DecodeToUtf8Into(std::string_view bytes, char* dst) const {
  if (m_pairUtf8.empty()) return 0;
  Utf8Emitter out{m_singleUtf8, m_pairUtf8.data(), dst};
  DecodeWith(bytes, out);
  return static_cast<size_t>(out.dst - dst);
}

size_t DbcsTableCodec::IndependentPrefix(std::string_view bytes) const {
  for (size_t n = bytes.size(); n > 0; --n) {
    const uint32_t b = static_cast<uint8_t>(bytes[n - 1]);
    if (m_standsAlone[b >> 5] & (1u << (b & 31))) return n;
  }
  return 0;
}


void DbcsTableCodec::Decode(std::string_view bytes, std::u16string& out) const {
  const size_t start = out.size();
  out.resize(start + bytes.size());  // never more units than bytes
  out.resize(start + DecodeInto(bytes, out.data() + start));
}

size_t DbcsTableCodec::EncodeInto(std::u16string_view text, char* out) const {
  size_t replaced = 0;
  return EncodeWith<false>(text, out, replaced);
}

size_t DbcsTableCodec::EncodeCountingInto(std::u16string_view text, char* out, size_t& replaced) const {
  return EncodeWith<true>(text, out, replaced);
}

// The encoder's one loop; `kCount` adds the characters written as "?" that
// were no "?" to `replaced`. ASCII maps to itself in the blocks, so only the
// table's results are looked at.
template <bool kCount>
size_t DbcsTableCodec::EncodeWith(std::u16string_view text, char* out, size_t& replaced) const {
  char* dst = out;
  const char16_t* p = text.data();
  const char16_t* const end = p + text.size();
  const uint16_t* const table = m_encode.data();
  // Counted in a local: stores through `dst` may alias `replaced`, which
  // would then be read and written back for every character.
  size_t count = 0;
  while (p < end) {
#if defined(QZU_ASCII_BLOCKS)
    if (*p < 0x80 && m_asciiIdentity && end - p >= 8) {
      // A block of eight is stored whole: eight units remain, and each has
      // room for two bytes.
      const unsigned ascii = NarrowAsciiBlock(p, dst);
      dst += ascii;
      p += ascii;
      continue;
    }
#endif
    const char16_t u = *p++;
    if ((u & 0xFC00) == 0xD800 && p < end && (*p & 0xFC00) == 0xDC00) {
      ++p;  // a pair: at most two bytes per unit, as the table was checked
      for (char c : m_supplementary) *dst++ = c;
      if constexpr (kCount) count += m_supplementaryMarks;
      continue;
    }
    const uint16_t e = table[u];
    if (e < 0x100) {
      if constexpr (kCount) count += (e == '?') & (u != u'?');
      *dst++ = static_cast<char>(e);
    } else {
      dst[0] = static_cast<char>(e >> 8);
      dst[1] = static_cast<char>(e & 0xFF);
      dst += 2;
    }
  }
  replaced += count;
  return static_cast<size_t>(dst - out);
}

void DbcsTableCodec::Encode(std::u16string_view text, std::string& out) const {
  const size_t start = out.size();
  out.resize(start + MaxBytes(text.size()));
  out.resize(start + EncodeInto(text, out.data() + start));
}

}  // namespace

std::shared_ptr<const CharsetCodec> BuildDoubleByteCodec(const std::string& icuName) {
  return DbcsTableCodec::Build(icuName);
}

}  // namespace qzu
