// The library's small value pair of a character array and an integer: its
// stream form and the common object operations.
#include <gtest/gtest.h>

#include <string_view>

#include "common/stream.h"
#include "textlib/text_removal_pair.h"

using rg_Tavelkin_MingLingJi::rg_TavelkinWenBenQuChanZiLei;

namespace {

TEST(TextRemovalPair, ObjectOperations) {
  rg_TavelkinWenBenQuChanZiLei a;
  a.characters.Add('x');
  a.characters.Add('y');
  a.number = -7;
  EXPECT_STREQ(a.GetClassInfo().name, "rg_Tavelkin_MingLingJi::rg_TavelkinWenBenQuChanZiLei");

  CQzuMemStream stream;
  a.SaveToStream(stream);
  // The array (count, then the characters), then the integer.
  EXPECT_EQ(stream.Buffer().View(), std::string_view("\x02\0\0\0xy\xF9\xFF\xFF\xFF", 10));
  rg_TavelkinWenBenQuChanZiLei b;
  stream.Rewind();
  b.LoadFromStream(stream);
  EXPECT_EQ(b.characters, a.characters);
  EXPECT_EQ(b.number, -7);
  // The array compares by identity: only the object itself is equal to it.
  EXPECT_TRUE(a.IsEqual(a));
  EXPECT_FALSE(a.IsEqual(b));

  CQzuObject* clone = a.Clone();
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(static_cast<rg_TavelkinWenBenQuChanZiLei*>(clone)->number, -7);
  EXPECT_EQ(static_cast<rg_TavelkinWenBenQuChanZiLei*>(clone)->characters.GetCount(), 2);
  clone->Release();

  CQzuObject other;
  EXPECT_EQ(b.CopyFrom(other), 0);
  a.Reset();
  EXPECT_TRUE(a.characters.IsEmpty());
  EXPECT_EQ(a.number, 0);
}

}  // namespace
