// Texts, byte buffers, UTF conversion, buffer hash and the DPI factor.
#include <gtest/gtest.h>

#include <random>

#include "common/dpi.h"
#include "common/int_text_map.h"
#include "common/mem.h"
#include "common/utf.h"
#include "common/wstring.h"

namespace {

TEST(WString, ZeroUnitsAreData) {
  CWString s(u"a\0b", 3);
  EXPECT_EQ(s.GetLength(), 3u);
  s += CWString(u"\0", 1);
  EXPECT_EQ(s.GetLength(), 4u);
  EXPECT_EQ(CWString::FromUtf8(std::string("x\0y", 3)).GetLength(), 3u);
  EXPECT_EQ(CWString(u"x\0y", 3).ToUtf8(), std::string("x\0y", 3));
  EXPECT_TRUE(CWString().IsEmpty());
  EXPECT_FALSE(CWString().IsNull());
  EXPECT_TRUE(CWString::Null().IsNull());
}

// A failed comparison shows the text itself (tests/text_printer.h).
TEST(WString, TestFailuresPrintTheText) {
  EXPECT_EQ(testing::PrintToString(CWString(u"中文 \U0001F600")), "\"中文 \U0001F600\"");
  EXPECT_EQ(testing::PrintToString(CWString(std::u16string(u"a\"\\\r\n\t\0\x1B", 8))),
            "\"a\\\"\\\\\\r\\n\\t\\x00\\x1B\"");
  EXPECT_EQ(testing::PrintToString(CWString(std::u16string{0xD83D, u'x', 0xDE00})), "\"\\uD83Dx\\uDE00\"");
  EXPECT_EQ(testing::PrintToString(CWString()), "\"\"");
}

TEST(WString, Searches) {
  const CWString s(u"abcABCabc");
  EXPECT_EQ(s.Find(u"abc"), 0);
  EXPECT_EQ(s.Find(u"abc", 1), 6);
  EXPECT_EQ(s.Find(u"ABC", 0, false), 3);
  EXPECT_EQ(s.Find(u"ABC", 4, true), 6);
  EXPECT_EQ(s.Find(u""), -1);
  EXPECT_EQ(s.Find(u"abc", 99), -1);
  // Backward: only occurrences ending at or before the index.
  EXPECT_EQ(s.ReverseFind(u"abc"), 6);
  EXPECT_EQ(s.ReverseFind(u"abc", 7), 0);
  EXPECT_EQ(s.ReverseFind(u"abc", 8), 6);
  EXPECT_EQ(s.ReverseFind(u"abc", 7, true), 3);
  EXPECT_EQ(s.ReverseFind(u"abc", 1), -1);
  // Case folding is for ASCII letters only.
  EXPECT_EQ(CWString(u"Ä").Find(u"ä", 0, true), -1);
}

TEST(WString, ReplaceIsLeftToRightWithoutOverlaps) {
  CWString s(u"aaaa");
  EXPECT_EQ(s.Replace(u"aa", u"b"), 2);
  EXPECT_EQ(s, CWString(u"bb"));
  CWString t(u"xAxa");
  EXPECT_EQ(t.Replace(u"a", u"[a]", true), 2);
  EXPECT_EQ(t, CWString(u"x[a]x[a]"));
}

TEST(WString, Split) {
  struct Case {
    const char16_t* text;
    const char16_t* sep;
    bool trim, dropEmpty;
    std::vector<std::u16string> pieces;
  };
  const Case cases[] = {
      {u"a,b,,c", u",", false, false, {u"a", u"b", u"", u"c"}},
      {u"a,b,,c", u",", false, true, {u"a", u"b", u"c"}},
      {u" a ,\tb , ", u",", true, true, {u"a", u"b"}},
      {u"a,", u",", false, false, {u"a", u""}},
      {u"", u",", false, false, {}},
      {u"a||b", u"||", false, false, {u"a", u"b"}},
  };
  for (const Case& c : cases) {
    std::vector<std::u16string> got;
    for (const CWString& p : CWString(c.text).Split(c.sep, c.trim, c.dropEmpty)) got.push_back(p.Str());
    EXPECT_EQ(got, c.pieces) << CWString(c.text).ToUtf8();
  }
  std::vector<std::u16string> any;
  for (const CWString& p : CWString(u"a,b;c").SplitAny(u",;")) any.push_back(p.Str());
  EXPECT_EQ(any, (std::vector<std::u16string>{u"a", u"b", u"c"}));
}

TEST(WString, ToIntReadsTheLeadingNumber) {
  EXPECT_EQ(CWString(u"12ab").ToInt(), 12);
  EXPECT_EQ(CWString(u" -7").ToInt(), -7);
  EXPECT_EQ(CWString(u"x1").ToInt(), 0);
  EXPECT_EQ(CWString(u"99999999999999999999999").ToInt(), LLONG_MAX);
  EXPECT_EQ(CWString(u"-2147483648x").ToInt32(), INT32_MIN);
  EXPECT_EQ(CWString(u"2147483648").ToInt32(), INT32_MAX);
  EXPECT_EQ(CWString(u"-99999999999").ToInt32(), INT32_MIN);
  EXPECT_EQ(CWString(u"+42").ToInt32(), 42);
}

TEST(Mem, GrowthStepAndEditing) {
  CQzuMem m;
  EXPECT_EQ(m.GetGrowStep(), 64u);
  m.Append("abc", 3);
  EXPECT_EQ(m.GetCapacity(), 64u);
  CQzuMem big(1000);
  big.AppendByte(1);
  EXPECT_EQ(big.GetCapacity(), 1000u);
  m.Insert(1, "XY", 2);
  EXPECT_EQ(m.View(), "aXYbc");
  m.Remove(0, 2);
  EXPECT_EQ(m.View(), "Ybc");
  m.Append(m.GetData(), m.GetSize());  // appending from itself
  EXPECT_EQ(m.View(), "YbcYbc");
  EXPECT_EQ(m.Find("cY", 2), 2);
  EXPECT_EQ(m.Find("cY", 3), -1);
  EXPECT_EQ(m.Find("", 0), -1);
  EXPECT_TRUE(CQzuMem::Null().IsNull());
}

TEST(Mem, BufferHash) {
  EXPECT_EQ(HashByteBuffer("", 0), 0u);
  EXPECT_EQ(HashByteBuffer("abcdefg", 7), 0x048726B6u);  // words, then bytes
  EXPECT_EQ(HashByteBuffer("\xFF\xFF\xFF\xFF", 4), 0x13u);  // wraps modulo 2^32
}

TEST(Utf, RoundTripAndReplacement) {
  const std::u16string text = u"A中\U0001F600\r\n";
  EXPECT_EQ(qzu::Utf16ToUtf8(text), "A\xE4\xB8\xAD\xF0\x9F\x98\x80\r\n");
  EXPECT_EQ(qzu::Utf8ToUtf16(qzu::Utf16ToUtf8(text)), text);
  struct Case {
    std::string bytes;
    std::u16string units;
  };
  const Case bad[] = {
      {"\xE4\xB8", u"\xFFFD"},              // truncated sequence: one replacement
      {"\xC0\xAF", u"\xFFFD\xFFFD"},        // overlong
      {"\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},  // encoded surrogate
      {"a\x80" "b", u"a\xFFFD" u"b"},
      {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},  // above U+10FFFF
  };
  for (const Case& c : bad) EXPECT_EQ(qzu::Utf8ToUtf16(c.bytes), c.units);
  EXPECT_EQ(qzu::Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");  // lone surrogate
}

TEST(Utf, RandomBytesNeverOverrunAndRoundTripValidText) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes(rng() % 40, '\0');
    for (char& b : bytes) b = static_cast<char>(rng());
    const std::u16string units = qzu::Utf8ToUtf16(bytes);
    EXPECT_LE(units.size(), bytes.size());
    const std::string again = qzu::Utf16ToUtf8(units);
    EXPECT_EQ(qzu::Utf8ToUtf16(again), units);
  }
}

// The encoder takes runs of Chinese text eight units at a time: runs of every
// length, broken by every other kind of unit at every place, give the bytes
// of the plain definition, and nothing is written past 3 bytes a unit.
TEST(Utf, RunsOfEveryKindEncodeAsDefined) {
  const auto reference = [](const std::u16string& units) {
    std::string out;
    const auto put = [&out](uint32_t cp) {
      if (cp < 0x80) {
        out += static_cast<char>(cp);
      } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
      } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
      } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
      }
    };
    for (size_t i = 0; i < units.size(); ++i) {
      const char16_t u = units[i];
      if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
        put(0x10000 + ((u - 0xD800u) << 10) + (units[i + 1] - 0xDC00u));
        ++i;
      } else {
        put(u >= 0xD800 && u <= 0xDFFF ? 0xFFFDu : u);
      }
    }
    return out;
  };
  // One unit of each kind, the ends of the three-byte range among them.
  const char16_t kinds[] = {u'a',   u'\n',  0x00E9, 0x07FF, 0x0800, 0x4E2D,
                            0xD7FF, 0xE000, 0xFFFF, 0xFF0C, 0xD83D, 0xDE00};
  std::mt19937 rng(99);
  for (int round = 0; round < 3000; ++round) {
    std::u16string units;
    const size_t length = rng() % 70;
    while (units.size() < length) {
      // Mostly Chinese runs of any length, now and then any other unit.
      if (rng() % 3) {
        for (size_t run = rng() % 20; run > 0; --run) units += static_cast<char16_t>(0x4E00 + rng() % 0x5000);
      } else {
        units += kinds[rng() % (sizeof kinds / sizeof kinds[0])];
      }
    }
    std::string out(units.size() * 3 + 16, '\x5A');
    const size_t n = qzu::Utf16ToUtf8(units.data(), units.size(), out.data());
    ASSERT_EQ(out.substr(0, n), reference(units)) << round;
    EXPECT_EQ(out.substr(units.size() * 3), std::string(16, '\x5A')) << round;
  }
}

TEST(Dpi, ScalingRoundsOrTruncates) {
  struct Case {
    double factor;
    int value, rounded, truncated;
  };
  const Case cases[] = {{1.0, 7, 7, 7}, {1.25, 7, 9, 8}, {1.5, 7, 11, 10}, {2.0, 7, 14, 14}, {1.25, 2, 3, 2},
                       {1.75, 5, 9, 8},  {1.75, -5, -8, -8}};  // truncation goes toward zero
  for (const Case& c : cases) {
    SetDpiFactor(c.factor);
    EXPECT_EQ(ScaleByDpiFactor(c.value), c.rounded) << c.factor;
    EXPECT_EQ(ScaleForDpi(c.value), c.truncated) << c.factor;
  }
  SetDpiFactor(0.5);
  EXPECT_EQ(GetDpiFactor(), 1.0);
  EXPECT_EQ(DpiFactorFor(144), 1.5);
  EXPECT_EQ(DpiFactorFor(72), 1.0);
  SetDpiFactor(1.0);
}

}  // namespace

TEST(IntTextMap, StreamsInKeyOrderAndStopsAtAShortRead) {
  rg_Ombrine_base::rg_ZhengShuDaoWenBenMoXuHaXiBiao map;
  map.entries[7] = u"七";
  map.entries[-1] = u"";
  map.entries[2] = u"two";
  CQzuMemStream stream;
  map.SaveToStream(stream);
  // Count 3, then -1 first: keys come out in ascending order.
  ASSERT_GE(stream.Buffer().GetSize(), 8u);
  EXPECT_EQ(stream.Buffer()[4], 0xFF);
  stream.Rewind();
  rg_Ombrine_base::rg_ZhengShuDaoWenBenMoXuHaXiBiao loaded;
  loaded.LoadFromStream(stream);
  ASSERT_TRUE(stream.Ok());
  EXPECT_TRUE(loaded.IsEqual(map));
  EXPECT_EQ(loaded.Get(7), u"七");
  EXPECT_EQ(loaded.Get(8), u"");

  CQzuMem cut = stream.Buffer();
  cut.Remove(cut.GetSize() - 3, 3);
  CQzuMemStream shortStream(cut);
  rg_Ombrine_base::rg_ZhengShuDaoWenBenMoXuHaXiBiao partial;
  partial.entries[1] = u"kept";
  partial.LoadFromStream(shortStream);
  EXPECT_EQ(shortStream.GetError(), kQzuStreamShortRead);
  EXPECT_EQ(partial.Get(1), u"kept");  // nothing half-loaded
}
