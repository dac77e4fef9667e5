#include "common/utf.h"

#include <cstdint>
#include <cstring>

namespace qzu {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Length of the well-formed sequence that starts at p (1 to 4), or 0 with
// `bad` set to the length of the maximal ill-formed prefix to replace.
inline size_t DecodeOne(const uint8_t* p, const uint8_t* end, uint32_t& cp, size_t& bad) {
  const uint8_t b0 = p[0];
  const size_t avail = static_cast<size_t>(end - p);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  bad = 1;
  if (b0 < 0xC2 || b0 > 0xF4) return 0;
  if (b0 < 0xE0) {
    if (avail < 2 || (p[1] & 0xC0) != 0x80) return 0;
    cp = ((b0 & 0x1Fu) << 6) | (p[1] & 0x3Fu);
    return 2;
  }
  uint8_t lo = 0x80, hi = 0xBF;
  if (b0 == 0xE0) lo = 0xA0;
  else if (b0 == 0xED) hi = 0x9F;
  else if (b0 == 0xF0) lo = 0x90;
  else if (b0 == 0xF4) hi = 0x8F;
  if (avail < 2 || p[1] < lo || p[1] > hi) return 0;
  bad = 2;
  if (b0 < 0xF0) {
    if (avail < 3 || (p[2] & 0xC0) != 0x80) return 0;
    cp = ((b0 & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
    return 3;
  }
  if (avail < 3 || (p[2] & 0xC0) != 0x80) return 0;
  bad = 3;
  if (avail < 4 || (p[3] & 0xC0) != 0x80) return 0;
  cp = ((b0 & 0x07u) << 18) | ((p[1] & 0x3Fu) << 12) | ((p[2] & 0x3Fu) << 6) | (p[3] & 0x3Fu);
  return 4;
}

}  // namespace

void AppendUtf8ToUtf16(std::string_view utf8, std::u16string& out) {
  const size_t start = out.size();
  out.resize(start + utf8.size());  // never more units than bytes
  char16_t* dst = out.data() + start;
  const uint8_t* p = reinterpret_cast<const uint8_t*>(utf8.data());
  const uint8_t* end = p + utf8.size();
  while (p < end) {
    // ASCII runs, eight bytes at a time.
    while (end - p >= 8) {
      uint64_t word;
      std::memcpy(&word, p, 8);
      if (word & 0x8080808080808080ull) break;
      for (int i = 0; i < 8; ++i) dst[i] = p[i];
      dst += 8;
      p += 8;
    }
    if (p >= end) break;
    if (*p < 0x80) {
      *dst++ = *p++;
      continue;
    }
    uint32_t cp = 0;
    size_t bad = 1;
    const size_t n = DecodeOne(p, end, cp, bad);
    if (n == 0) {
      *dst++ = kReplacement;
      p += bad;
    } else if (cp >= 0x10000) {
      cp -= 0x10000;
      *dst++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *dst++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
      p += n;
    } else {
      *dst++ = static_cast<char16_t>(cp);
      p += n;
    }
  }
  out.resize(static_cast<size_t>(dst - out.data()));
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  AppendUtf8ToUtf16(utf8, out);
  return out;
}

void AppendUtf16ToUtf8(std::u16string_view utf16, std::string& out) {
  const size_t start = out.size();
  out.resize(start + utf16.size() * 3);  // at most three bytes per unit
  char* dst = out.data() + start;
  const char16_t* p = utf16.data();
  const char16_t* end = p + utf16.size();
  while (p < end) {
    while (end - p >= 4 && ((p[0] | p[1] | p[2] | p[3]) < 0x80)) {
      dst[0] = static_cast<char>(p[0]);
      dst[1] = static_cast<char>(p[1]);
      dst[2] = static_cast<char>(p[2]);
      dst[3] = static_cast<char>(p[3]);
      dst += 4;
      p += 4;
    }
    if (p >= end) break;
    uint32_t c = *p++;
    if (c < 0x80) {
      *dst++ = static_cast<char>(c);
    } else if (c < 0x800) {
      *dst++ = static_cast<char>(0xC0 | (c >> 6));
      *dst++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      if (IsHighSurrogate(static_cast<char16_t>(c)) && p < end && IsLowSurrogate(*p)) {
        const uint32_t cp = 0x10000 + ((c - 0xD800) << 10) + (*p++ - 0xDC00);
        *dst++ = static_cast<char>(0xF0 | (cp >> 18));
        *dst++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *dst++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *dst++ = static_cast<char>(0x80 | (cp & 0x3F));
        continue;
      }
      if (c >= 0xD800 && c <= 0xDFFF) c = kReplacement;
      *dst++ = static_cast<char>(0xE0 | (c >> 12));
      *dst++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *dst++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  out.resize(static_cast<size_t>(dst - out.data()));
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  AppendUtf16ToUtf8(utf16, out);
  return out;
}

}  // namespace qzu
