// Trimming blanks per mode, the first character and the record separator.
#include "textlib/text_trim.h"

#include <gtest/gtest.h>

namespace {

TEST(TrimBlanks, ModesTrimEndsOrEveryBlank) {
  const CWString sample(u" \u3000a b\u00A0 ");
  const struct {
    int mode;
    const char16_t* expected;
  } cases[] = {
      {kTrimBothEnds, u"a b"},  {kTrimStart, u"a b\u00A0 "}, {kTrimEnd, u" \u3000a b"},
      {kTrimEverywhere, u"ab"}, {7, u" \u3000a b\u00A0 "},   {-1, u" \u3000a b\u00A0 "},
  };
  for (const auto& c : cases) {
    CWString t = sample;
    TrimBlanks(t, c.mode);
    EXPECT_EQ(t, CWString(c.expected)) << "mode " << c.mode;
  }
  for (int mode : {kTrimBothEnds, kTrimStart, kTrimEnd, kTrimEverywhere}) {
    CWString blanks(std::u16string(u"\0\t \u3000\u00A0", 5));
    TrimBlanks(blanks, mode);
    EXPECT_TRUE(blanks.IsEmpty()) << "mode " << mode;
  }
}

TEST(TextChars, FirstCharAndRecordSeparator) {
  EXPECT_EQ(FirstChar(CWString()), u' ');
  EXPECT_EQ(FirstChar(u"汉a"), u'汉');
  const CWString rs = MakeRecordSeparator();
  ASSERT_EQ(rs.GetLength(), 1u);
  EXPECT_EQ(rs[0], u'\x1E');
}

}  // namespace
