// The vectorised and inlined fast paths of detection and UTF conversion,
// checked against plain references on random text that mixes well-formed and
// broken sequences across block boundaries.
#include <gtest/gtest.h>
#include <unicode/ustring.h>

#include <cstring>
#include <random>
#include <string>

#include "common/utf.h"
#include "platform/code_page_codec.h"
#include "platform/system_code_page.h"
#include "textlib/charset_convert.h"
#include "textlib/charset_detect.h"

namespace {

// The counting rule written the plain way: overlong leads C0/C1, overlong
// three-byte forms (E0 80-9F) and surrogates (ED A0-BF) are bad bytes.
bool CountingRule(const std::string& s) {
  size_t ascii = 0, valid = 0, invalid = 0, i = 0;
  const auto at = [&s](size_t k) { return static_cast<uint8_t>(s[k]); };
  while (i < s.size()) {
    if (at(i) < 0x80) {
      ++ascii;
      i += 1;
    } else if (i + 1 < s.size() && (at(i) & 0xE0) == 0xC0 && at(i) >= 0xC2 && (at(i + 1) & 0xC0) == 0x80) {
      ++valid;
      i += 2;
    } else if (i + 2 < s.size() && (at(i) & 0xF0) == 0xE0 && (at(i + 1) & 0xC0) == 0x80 &&
               (at(i + 2) & 0xC0) == 0x80 && !(at(i) == 0xE0 && at(i + 1) < 0xA0) &&
               !(at(i) == 0xED && at(i + 1) >= 0xA0)) {
      ++valid;
      i += 3;
    } else {
      ++invalid;
      i += 1;
    }
  }
  return ascii != s.size() && valid > invalid;
}

// Text made of pieces: ASCII runs, two-, three- and four-byte characters,
// stray continuation bytes, cut sequences and bytes that never occur.
std::string RandomUtf8(std::mt19937& rng, size_t pieces, int badPercent) {
  static const char* good[] = {"a", "hello world, ", "\xC3\xA9", "\xE4\xB8\xAD", "\xE6\x96\x87\xE5\xAD\x97",
                               "\xF0\x9F\x98\x80", "\xE0\xA0\x80", "\xED\x9F\xBF", "0123456789abcdef"};
  static const char* bad[] = {"\x80", "\xBF", "\xE4\xB8", "\xC3", "\xFF", "\xF8", "\xE0\x80",
                              "\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80"};
  std::string s;
  for (size_t i = 0; i < pieces; ++i) {
    if (static_cast<int>(rng() % 100) < badPercent) s += bad[rng() % std::size(bad)];
    else s += good[rng() % std::size(good)];
  }
  return s;
}

std::u16string IcuFromUtf8(const std::string& s) {
  std::u16string out(s.size() + 1, u'\0');
  int32_t n = 0;
  UErrorCode err = U_ZERO_ERROR;
  u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), &n, s.data(),
                       static_cast<int32_t>(s.size()), 0xFFFD, nullptr, &err);
  out.resize(U_SUCCESS(err) ? static_cast<size_t>(n) : 0);
  return out;
}

std::string IcuToUtf8(const std::u16string& s) {
  std::string out(s.size() * 3 + 1, '\0');
  int32_t n = 0;
  UErrorCode err = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &n, reinterpret_cast<const UChar*>(s.data()),
                     static_cast<int32_t>(s.size()), 0xFFFD, nullptr, &err);
  out.resize(U_SUCCESS(err) ? static_cast<size_t>(n) : 0);
  return out;
}

}  // namespace

TEST(CharsetFastPaths, DetectionCountsLikeThePlainRule) {
  std::mt19937 rng(99);
  int utf8 = 0, other = 0;
  for (int round = 0; round < 3000; ++round) {
    const std::string s = RandomUtf8(rng, 1 + rng() % 60, static_cast<int>(rng() % 60));
    const bool expected = CountingRule(s);
    ASSERT_EQ(LooksLikeUtf8(s.data(), s.size()), expected) << round;
    (expected ? utf8 : other) += 1;
  }
  // Both answers occur often enough for the comparison to mean something.
  EXPECT_GT(utf8, 500);
  EXPECT_GT(other, 500);
}

// Bytes drawn from the classes that matter (ASCII, continuation bytes, two-
// and three-byte leads, bytes that never start a sequence) in runs long
// enough to cross several blocks, as legacy double-byte text does; some runs
// are long enough for the counts to be gathered over many blocks.
TEST(CharsetFastPaths, DetectionCountsLikeThePlainRuleOnMixedBytes) {
  static const uint8_t alphabet[] = {0x41, 0x0A, 0x80, 0x9F, 0xA0, 0xA1, 0xBF, 0xC0, 0xC1, 0xC2,
                                     0xC3, 0xD6, 0xE0, 0xE4, 0xED, 0xEF, 0xF0, 0xFE};
  std::mt19937 rng(17);
  for (int round = 0; round < 4000; ++round) {
    std::string s(round % 40 == 0 ? 1000 + rng() % 4000 : rng() % 300, '\0');
    const int asciiPercent = static_cast<int>(rng() % 100);
    for (char& c : s)
      c = static_cast<char>(static_cast<int>(rng() % 100) < asciiPercent ? 0x61 : alphabet[rng() % std::size(alphabet)]);
    ASSERT_EQ(LooksLikeUtf8(s.data(), s.size()), CountingRule(s)) << round;
  }
}

TEST(CharsetFastPaths, Utf8DecodingMatchesIcu) {
  std::mt19937 rng(5);
  for (int round = 0; round < 3000; ++round) {
    const std::string s = RandomUtf8(rng, 1 + rng() % 60, static_cast<int>(rng() % 40));
    ASSERT_EQ(qzu::Utf8ToUtf16(s), IcuFromUtf8(s)) << round;
  }
}

TEST(CharsetFastPaths, Utf16EncodingMatchesIcu) {
  std::mt19937 rng(6);
  for (int round = 0; round < 3000; ++round) {
    // Half the rounds are mostly Chinese, with long runs of three-byte units.
    const bool chinese = round % 2 == 1;
    std::u16string s(rng() % 70, u'\0');
    for (char16_t& u : s) {
      const unsigned r = rng() % (chinese ? 40 : 10);
      u = static_cast<char16_t>(r < 4 ? rng() % 0x80 : r < 6 ? rng() % 0x800 : r < 8 ? rng() % 0x10000
                                : r < 10 ? 0xD800 + rng() % 0x800 : 0x4E00 + rng() % 0x5200);
    }
    ASSERT_EQ(qzu::Utf16ToUtf8(s), IcuToUtf8(s)) << round;
  }
}

// Large buffers are decoded in pieces that give the input's memory back as
// they go: the result is the whole input decoded at once, for UTF-8 with
// broken sequences and for the system code page (GBK), below and above the
// size from which memory is given back. Runs without ASCII make the pieces
// grow past their usual size.
TEST(CharsetFastPaths, LargeBuffersDecodeInPiecesAsAWhole) {
  std::mt19937 rng(8);
  for (const size_t size : {size_t{3} << 20, size_t{40} << 20}) {
    std::string utf8;
    while (utf8.size() < size)
      utf8 += rng() % 50 == 0 ? std::string(3u << 20 >> (rng() % 4), '\xE4') : RandomUtf8(rng, 5000, 5);
    CQzuMem bytes(utf8.data(), utf8.size());
    Utf8ToUtf16(bytes);
    const std::u16string expected = IcuFromUtf8(utf8);
    ASSERT_EQ(bytes.GetSize(), expected.size() * 2) << size;
    EXPECT_EQ(std::memcmp(bytes.GetData(), expected.data(), bytes.GetSize()), 0) << size;

    // GBK: the same text encoded, with stray lead bytes among it.
    CQzuMem units(expected.data(), expected.size() * 2);
    Utf16ToAnsi(units);
    std::string gbk(units.View());
    for (size_t i = 0; i < gbk.size(); i += 1 + rng() % 100000) gbk[i] = '\x81';
    std::u16string whole;
    qzu::SystemCodePageCodec()->Decode(gbk, whole);
    CQzuMem decoded(gbk.data(), gbk.size());
    AnsiToUtf16(decoded);
    ASSERT_EQ(decoded.GetSize(), whole.size() * 2) << size;
    EXPECT_EQ(std::memcmp(decoded.GetData(), whole.data(), decoded.GetSize()), 0) << size;
  }
}
