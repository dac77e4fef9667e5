// Joining items with a separator, stems and trimming, or random alternatives.
#include "textlib/text_join.h"

#include <gtest/gtest.h>

#include "platform/random_seed.h"

namespace {

using rg_Ombrine_base::rg_WenBenShuZuLei;

TEST(JoinItems, SeparatesByFlagStemsAndTrims) {
  const rg_WenBenShuZuLei items{u"a", u"", u"b"}, none;
  CWString sep(u",");
  EXPECT_EQ(JoinItems(items, sep, 0, 0, 0, none), CWString(u"a,b"));
  EXPECT_EQ(JoinItems(items, sep, 1, 0, 0, none), CWString(u"a,,b"));
  EXPECT_EQ(JoinItems(rg_WenBenShuZuLei{u"", u"", u"a"}, sep, 0, 0, 0, none), CWString(u"a"));
  EXPECT_EQ(JoinItems(rg_WenBenShuZuLei{u"", u"a"}, sep, 1, 0, 0, none), CWString(u",a"));
  EXPECT_EQ(JoinItems(rg_WenBenShuZuLei{u"/x/one.txt", u"two.doc"}, sep, 0, 1, 0, none), CWString(u"one,two"));
  EXPECT_EQ(JoinItems(rg_WenBenShuZuLei{u" a\u3000", u" \u00A0", u"b "}, sep, 0, 0, 1, none), CWString(u"a,b"));
  EXPECT_EQ(JoinItems(rg_WenBenShuZuLei{}, sep, 1, 0, 0, none), CWString());
  EXPECT_EQ(sep, CWString(u","));
}

TEST(JoinItems, AlternativesPickEverySeparatorAtRandom) {
  SeedRandom(7);
  const rg_WenBenShuZuLei alternatives{u"-", u"+"};
  rg_WenBenShuZuLei items;
  for (int i = 0; i < 64; ++i) items.Add(u"x");
  CWString sep(u",");
  const CWString joined = JoinItems(items, sep, 0, 0, 0, alternatives);
  ASSERT_EQ(joined.GetLength(), 127u);
  int minus = 0, plus = 0;
  char16_t last = 0;
  for (size_t i = 1; i < joined.GetLength(); i += 2) {
    last = joined[i];
    ASSERT_TRUE(last == u'-' || last == u'+');
    (last == u'-' ? minus : plus)++;
  }
  EXPECT_GT(minus, 0);
  EXPECT_GT(plus, 0);
  // The caller's separator is the last pick.
  EXPECT_EQ(sep, CWString(std::u16string(1, last)));
}

}  // namespace
