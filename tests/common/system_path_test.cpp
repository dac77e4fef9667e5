// Paths between the system's bytes and texts: names that are not UTF-8 come
// back byte for byte.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/wstring.h"

namespace {

TEST(SystemPath, NamesThatAreNotUtf8TravelAsEscapedBytes) {
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"UTF-8 stays text", "/tmp/中文.txt", u"/tmp/中文.txt"},
      {"a GBK name", "\xD6\xD0\xCE\xC4.txt", u"\xDCD6\xDCD0\xDCCE\xDCC4.txt"},
      {"a UTF-8 character among bad bytes", "\xFF\xE4\xB8\xAD\x80", u"\xDCFF\x4E2D\xDC80"},
      {"an encoded surrogate is three bad bytes", "\xED\xB2\x80", u"\xDCED\xDCB2\xDC80"},
      {"a truncated sequence at the end", "a\xE4\xB8", u"a\xDCE4\xDCB8"},
      {"a pair whose low half looks like an escape", "\xF0\x9F\x92\x80", u"\xD83D\xDC80"},
  };
  for (const Case& c : cases) {
    const CWString text = CWString::FromSystemPath(c.bytes);
    EXPECT_EQ(text.Str(), c.text) << c.name;
    EXPECT_EQ(text.ToSystemPath(), c.bytes) << c.name;
  }
  // Lone surrogates that are no escaped byte cannot reach the system.
  EXPECT_EQ(CWString(std::u16string(u"a\xD800" u"b\xDC41")).ToSystemPath(), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

TEST(SystemPath, EveryByteSequenceRoundTrips) {
  std::mt19937 rng(34);
  // Bytes weighted towards UTF-8 lead and continuation bytes, so that
  // well-formed, truncated and overlong sequences all occur.
  const std::string alphabet = "a/.\x80\xBF\xC0\xC2\xC3\xA9\xE0\xE4\xB8\xAD\xED\xA0\xF0\x90\x9F\xF4\x8F\xF5\xFF";
  for (int round = 0; round < 20000; ++round) {
    std::string bytes(rng() % 24, '\0');
    for (char& b : bytes) b = (rng() % 4 == 0) ? static_cast<char>(1 + rng() % 255) : alphabet[rng() % alphabet.size()];
    ASSERT_EQ(CWString::FromSystemPath(bytes).ToSystemPath(), bytes) << round;
  }
}

}  // namespace
