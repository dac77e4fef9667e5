// Keyword matching: any keyword or combination, ignoring ASCII case.
#include "textlib/keyword_match.h"

#include <gtest/gtest.h>

namespace {

TEST(ContainsAnyKeyword, MatchesAnyKeywordIgnoringAsciiCase) {
  struct Case {
    const char16_t* text;
    const char16_t* keywords;
    const char16_t* combinations;
    const char16_t* separators;
    int expected;
  } cases[] = {
      {u"MyBackup", u"backup|temp", u"", u"|", 1},
      {u"MyBackup", u"|", u"", u"|", 0},
      {u"abc", u"x,b", u"", u",", 1},
      {u"abc", u" x , c ", u"", u",", 1},
      {u"a,b", u"a,b", u"", u"", 1},        // no separator: one keyword
      {u"ab", u"a,b", u"", u"", 0},
      {u"备份ABC", u"备份", u"", u"|", 1},
      {u"ÄB", u"äb", u"", u"|", 0},          // only ASCII letters fold
      {u"xab2", u"ab", u"1|2", u"|", 1},
      {u"ab1", u"ab", u"1|2", u"|", 1},
      {u"ab", u"ab", u"1|2", u"|", 0},
      {u"ab", u"ab", u"|1", u"|", 1},        // a leading empty piece counts
      {u"ab", u"ab", u"1|", u"|", 0},        // a final "|" adds no piece
      {u"", u"a", u"", u"|", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ContainsAnyKeyword(c.text, c.keywords, c.combinations, c.separators), c.expected)
        << CWString(c.text).ToUtf8() << " / " << CWString(c.keywords).ToUtf8() << " / "
        << CWString(c.combinations).ToUtf8();
}

}  // namespace
