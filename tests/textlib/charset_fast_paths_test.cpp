// The vectorised and inlined fast paths of detection and UTF conversion,
// checked against plain references on random text that mixes well-formed and
// broken sequences across block boundaries.
#include <gtest/gtest.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include "common/utf.h"
#include "platform/code_page_codec.h"
#include "platform/system_code_page.h"
#include "textlib/charset_convert.h"
#include "textlib/charset_detect.h"
#include "textlib/charset_detect_count.h"

namespace {

// The counting written the plain way, byte by byte. Bad bytes: the leads
// C0/C1 and F5-FF, overlong three- and four-byte forms (E0 80-9F, F0 80-8F),
// surrogates (ED A0-BF), forms past U+10FFFF (F4 90-BF), cut sequences and
// stray continuation bytes.
Utf8Counts PlainCounts(const std::string& s) {
  Utf8Counts counts;
  const auto at = [&s](size_t k) { return k < s.size() ? static_cast<uint8_t>(s[k]) : uint8_t{0}; };
  const auto cont = [&](size_t k) { return (at(k) & 0xC0) == 0x80; };
  for (size_t i = 0; i < s.size();) {
    const uint8_t b = at(i), second = at(i + 1);
    size_t length = 0;
    if (b < 0x80) {
      i += 1;
      continue;
    }
    if (b >= 0xC2 && b <= 0xDF && cont(i + 1))
      length = 2;
    else if (b >= 0xE0 && b <= 0xEF && cont(i + 1) && cont(i + 2) && !(b == 0xE0 && second < 0xA0) &&
             !(b == 0xED && second >= 0xA0))
      length = 3;
    else if (b >= 0xF0 && b <= 0xF4 && cont(i + 1) && cont(i + 2) && cont(i + 3) && !(b == 0xF0 && second < 0x90) &&
             !(b == 0xF4 && second >= 0x90))
      length = 4;
    if (length) {
      ++counts.valid;
      i += length;
    } else {
      ++counts.invalid;
      i += 1;
    }
  }
  return counts;
}

// How many bytes at the end are a well-formed beginning of a sequence, cut
// off: the fewest continuation bytes that make one more valid sequence when
// put after the text turn that many bad bytes into good ones.
size_t PlainCutTail(const std::string& s) {
  const Utf8Counts whole = PlainCounts(s);
  for (size_t n = 1; n <= 3; ++n)
    for (uint8_t fill : {0x80, 0x90, 0xA0, 0xBF}) {
      const Utf8Counts completed = PlainCounts(s + std::string(n, static_cast<char>(fill)));
      if (completed.valid == whole.valid + 1) return whole.invalid - completed.invalid;
    }
  return 0;
}

// The answer the plain counts give, a cut last character left out.
bool PlainRule(const std::string& s) {
  const Utf8Counts c = PlainCounts(s.substr(0, s.size() - PlainCutTail(s)));
  return c.valid > 0 && c.invalid * kValidPerBadByte <= c.valid;
}

// Each build of the vector scan this processor runs gives exactly the plain
// counts when it goes to the end, and its early stop never changes the
// answer.
void ExpectLikeThePlainRule(const std::string& s, int round) {
  const Utf8Counts plain = PlainCounts(s);
  const std::string uncut = s.substr(0, s.size() - PlainCutTail(s));
  const bool utf8 = PlainRule(s);
  for (int set : {kUtf8ScanBaseline, kUtf8ScanAvx2}) {
    if (!Utf8ScanAvailable(set)) continue;
    const Utf8Counts fast = CountUtf8SequencesWith(set, s.data(), s.size(), 0);
    ASSERT_EQ(fast.valid, plain.valid) << round << " set " << set;
    ASSERT_EQ(fast.invalid, plain.invalid) << round << " set " << set;
    const Utf8Counts stopping = CountUtf8SequencesWith(set, uncut.data(), uncut.size(), kValidPerBadByte);
    ASSERT_EQ(stopping.valid > 0 && stopping.invalid * kValidPerBadByte <= stopping.valid, utf8)
        << round << " set " << set;
  }
  ASSERT_EQ(LooksLikeUtf8(s.data(), s.size()), utf8) << round;
}

// Text made of pieces: ASCII runs, two-, three- and four-byte characters,
// stray continuation bytes, cut sequences and bytes that never occur.
std::string RandomUtf8(std::mt19937& rng, size_t pieces, int badPercent) {
  static const char* good[] = {"a",
                               "hello world, ",
                               "\xC3\xA9",
                               "\xE4\xB8\xAD",
                               "\xE6\x96\x87\xE5\xAD\x97",
                               "\xF0\x9F\x98\x80",
                               "\xE0\xA0\x80",
                               "\xED\x9F\xBF",
                               "0123456789abcdef",
                               "\xF0\x90\x80\x80",
                               "\xF0\xA0\x80\x80",
                               "\xF3\xBF\xBF\xBF",
                               "\xF4\x8F\xBF\xBF"};
  static const char* bad[] = {"\x80",
                              "\xBF",
                              "\xE4\xB8",
                              "\xC3",
                              "\xFF",
                              "\xF8",
                              "\xE0\x80",
                              "\xC0\x80",
                              "\xC1\xBF",
                              "\xE0\x9F\xBF",
                              "\xED\xA0\x80",
                              "\xF0\x8F\xBF\xBF",
                              "\xF4\x90\x80\x80",
                              "\xF5\x80\x80\x80",
                              "\xF0\x9F\x98"};
  std::string s;
  for (size_t i = 0; i < pieces; ++i) {
    if (static_cast<int>(rng() % 100) < badPercent)
      s += bad[rng() % std::size(bad)];
    else
      s += good[rng() % std::size(good)];
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
    // A third of the rounds have few bad pieces, so that both answers occur.
    const int badPercent = static_cast<int>(round % 3 == 0 ? rng() % 6 : rng() % 60);
    const std::string s = RandomUtf8(rng, 1 + rng() % 60, badPercent);
    ExpectLikeThePlainRule(s, round);
    (PlainRule(s) ? utf8 : other) += 1;
  }
  // Both answers occur often enough for the comparison to mean something.
  EXPECT_GT(utf8, 500);
  EXPECT_GT(other, 500);
}

// Bytes drawn from the classes that matter (ASCII, continuation bytes at the
// edges of the ranges the leads E0, ED, F0 and F4 allow, two- to four-byte
// leads, bytes that never start a sequence) in runs long enough to cross
// several blocks, as legacy double-byte text does; some runs are long enough
// for the counts to be gathered over many blocks.
TEST(CharsetFastPaths, DetectionCountsLikeThePlainRuleOnMixedBytes) {
  static const uint8_t alphabet[] = {0x41, 0x0A, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xA1, 0xBF, 0xC0, 0xC1, 0xC2,
                                     0xC3, 0xD6, 0xE0, 0xE4, 0xED, 0xEF, 0xF0, 0xF1, 0xF4, 0xF5, 0xFE};
  std::mt19937 rng(17);
  for (int round = 0; round < 4000; ++round) {
    std::string s(round % 40 == 0 ? 1000 + rng() % 4000 : rng() % 300, '\0');
    const int asciiPercent = static_cast<int>(rng() % 100);
    for (char& c : s)
      c = static_cast<char>(static_cast<int>(rng() % 100) < asciiPercent ? 0x61
                                                                         : alphabet[rng() % std::size(alphabet)]);
    ExpectLikeThePlainRule(s, round);
  }
}

// Every lead that limits its second byte (and two that do not), before every
// second byte at the edges of those limits, placed on both sides of the edges
// of the 16-, 32- and 64-byte pieces the scans read and cut short by the end
// of the text, amid ASCII or amid stray continuation bytes.
TEST(CharsetFastPaths, LimitedLeadsAtPieceEdgesCountLikeThePlainRule) {
  static const uint8_t leads[] = {0xE0, 0xED, 0xF0, 0xF4, 0xE1, 0xF3};
  static const uint8_t seconds[] = {0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0};
  static const size_t places[] = {0, 14, 15, 16, 31, 32, 47, 62, 63, 64, 65, 127, 128};
  int round = 0;
  for (const char filler : {'a', '\x80'}) {
    for (const uint8_t lead : leads) {
      for (const uint8_t second : seconds) {
        std::string sequence = {static_cast<char>(lead), static_cast<char>(second), '\x80'};
        if (lead >= 0xF0) sequence += '\x80';
        for (const size_t at : places) {
          // Whole and followed by filler, then cut after one, two, three bytes.
          for (const size_t size : {size_t{200}, at + 1, at + 2, at + 3}) {
            std::string s(size, filler);
            s.replace(at, std::min(sequence.size(), size - at), sequence, 0, size - at);
            SCOPED_TRACE(testing::Message() << std::hex << "lead " << int{lead} << " second " << int{second}
                                            << std::dec << " at " << at << " of " << size);
            ExpectLikeThePlainRule(s, round++);
            if (HasFatalFailure()) return;
          }
        }
      }
    }
  }
}

// Long texts of good sequences with bad bytes sprinkled at a rate near the
// limit, so that the early stop is tried where the answer is close.
TEST(CharsetFastPaths, EarlyStopKeepsTheAnswerNearTheLimit) {
  std::mt19937 rng(23);
  int utf8 = 0, other = 0;
  for (int round = 0; round < 400; ++round) {
    const int badPercent = 1 + static_cast<int>(rng() % 6);
    const std::string s = RandomUtf8(rng, 500 + rng() % 3000, badPercent);
    ExpectLikeThePlainRule(s, round);
    (PlainRule(s) ? utf8 : other) += 1;
  }
  EXPECT_GT(utf8, 40);
  EXPECT_GT(other, 40);
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
