// Searching texts: the text between two marks both ways, replacing every
// occurrence, and finding bytes backwards.
#include "textlib/text_search.h"

#include <gtest/gtest.h>

namespace {

using rg_Ombrine_base::rg_ZhengShuShuZuLei;

TEST(TextBetween, ForwardFindsAndAdvances) {
  rg_ZhengShuShuZuLei found;
  int pos = 0;
  EXPECT_EQ(TextBetween(u"a=x;b=y;", u"b=", u";", pos, kTextBetweenForward, kTextBetweenMatchCase, found),
            CWString(u"y"));
  EXPECT_EQ(pos, 8);
  EXPECT_EQ(TextBetween(u"a=x;b=y;", u"b=", u";", pos, kTextBetweenForward, kTextBetweenMatchCase, found), CWString());
  EXPECT_EQ(pos, -2);
  // A search from the miss marker starts over.
  EXPECT_EQ(TextBetween(u"a=x;b=y;", u"=", u";", pos, kTextBetweenForward, kTextBetweenMatchCase, found),
            CWString(u"x"));
  EXPECT_EQ(pos, 4);
  EXPECT_EQ(TextBetween(u"a=x;b=y;", u"=", u";", pos, kTextBetweenForward, kTextBetweenMatchCase, found),
            CWString(u"y"));
  ASSERT_EQ(found.GetCount(), 3);
  EXPECT_EQ(found[0], 4);
  EXPECT_EQ(found[1], 1);
  EXPECT_EQ(found[2], 5);
}

TEST(TextBetween, AdjacentMarksSucceedForwardButNotInReverse) {
  rg_ZhengShuShuZuLei none = rg_ZhengShuShuZuLei::Null();
  int pos = 0;
  EXPECT_EQ(TextBetween(u"[]", u"[", u"]", pos, kTextBetweenForward, kTextBetweenMatchCase, none), CWString());
  EXPECT_EQ(pos, 2);
  pos = 0;
  EXPECT_EQ(TextBetween(u"[]", u"[", u"]", pos, kTextBetweenReverse, kTextBetweenMatchCase, none), CWString());
  EXPECT_EQ(pos, -2);
  EXPECT_TRUE(none.IsEmpty());
}

TEST(TextBetween, ReverseTakesTheNearestStartBeforeTheEnd) {
  rg_ZhengShuShuZuLei found;
  int pos = 0;
  EXPECT_EQ(TextBetween(u"Data (D:)", u"(", u")", pos, kTextBetweenReverse, kTextBetweenMatchCase, found),
            CWString(u"D:"));
  EXPECT_EQ(pos, 9);
  ASSERT_EQ(found.GetCount(), 1);
  EXPECT_EQ(found[0], 5);
  pos = 0;
  EXPECT_EQ(TextBetween(u"((a) (b)", u"(", u")", pos, kTextBetweenReverse, kTextBetweenMatchCase, found),
            CWString(u"a"));
  // A start mark before the position is a miss.
  pos = 3;
  EXPECT_EQ(TextBetween(u"x(ab)", u"(", u")", pos, kTextBetweenReverse, kTextBetweenMatchCase, found), CWString());
  EXPECT_EQ(pos, -2);
}

TEST(TextBetween, EmptyMarksAndCaseFolding) {
  rg_ZhengShuShuZuLei none = rg_ZhengShuShuZuLei::Null();
  int pos = 3;  // ignored with an empty start mark
  EXPECT_EQ(TextBetween(u"whole", u"", u"", pos, kTextBetweenForward, kTextBetweenMatchCase, none), CWString(u"whole"));
  EXPECT_EQ(pos, 5);
  pos = 0;
  EXPECT_EQ(TextBetween(u"12名称3", u"", u"名称", pos, kTextBetweenForward, kTextBetweenMatchCase, none),
            CWString(u"12"));
  pos = 0;
  EXPECT_EQ(TextBetween(u"<B>bold</b>", u"<b>", u"</B>", pos, kTextBetweenForward, kTextBetweenIgnoreCase, none),
            CWString(u"bold"));
  pos = 0;
  EXPECT_EQ(TextBetween(u"<B>bold</b>", u"<b>", u"</B>", pos, kTextBetweenForward, kTextBetweenMatchCase, none),
            CWString());
  EXPECT_EQ(pos, -2);
  pos = 9;  // at the end: nothing to find
  EXPECT_EQ(TextBetween(u"Data (D:)", u"(", u")", pos, kTextBetweenForward, kTextBetweenMatchCase, none), CWString());
  EXPECT_EQ(pos, -2);
}

TEST(ReplaceAllText, LeftToRightWithoutOverlaps) {
  EXPECT_EQ(ReplaceAllText(u"aaa", u"aa", u"b"), CWString(u"ba"));
  EXPECT_EQ(ReplaceAllText(u"abc", u"", u"x"), CWString(u"abc"));
  EXPECT_EQ(ReplaceAllText(u"a", u"abc", u"x"), CWString(u"a"));
  EXPECT_EQ(ReplaceAllText(u"aAa", u"a", u"aa"), CWString(u"aaAaa"));
  EXPECT_EQ(ReplaceAllText(std::u16string(u"x\0y\0", 4), std::u16string(u"\0", 1), u"|"), CWString(u"x|y|"));
}

TEST(FindBytesFrom, LastOccurrenceEndingBeforeTheStart) {
  const CQzuMem buffer("abxab", 5), pattern("ab", 2);
  EXPECT_EQ(FindBytesFrom(buffer, pattern, 5), 3);
  EXPECT_EQ(FindBytesFrom(buffer, pattern, 100), 3);
  EXPECT_EQ(FindBytesFrom(buffer, pattern, 4), 0);
  EXPECT_EQ(FindBytesFrom(buffer, pattern, 2), 0);
  EXPECT_EQ(FindBytesFrom(buffer, pattern, 1), -1);
  EXPECT_EQ(FindBytesFrom(buffer, pattern, -1), -1);
  EXPECT_EQ(FindBytesFrom(buffer, CQzuMem(), 5), -1);
  EXPECT_EQ(FindBytesFrom(CQzuMem(), pattern, 5), -1);
}

}  // namespace
