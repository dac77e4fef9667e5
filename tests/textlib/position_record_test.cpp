// The position record: its stream form, sizing under a mode, value semantics.
#include "textlib/position_record.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"

namespace {

using rg_Tavelkin_MingLingJi::rg_TavelkinWeiZhiLei;

TEST(PositionRecord, FreshRecordStreamsElevenIntegers) {
  rg_TavelkinWeiZhiLei r;
  CQzuMemStream out;
  r.SaveToStream(out);
  ASSERT_EQ(out.Buffer().GetSize(), 44u);
  EXPECT_EQ(qzu_test::ToHex(out.Buffer().GetData(), 8), "01 00 00 00 00 00 00 00");
  for (size_t i = 4; i < 44; ++i) EXPECT_EQ(out.Buffer()[i], 0) << i;
}

TEST(PositionRecord, StreamRoundTripAndShortRead) {
  rg_TavelkinWeiZhiLei r;
  r.mode = 0;
  r.left = -5;
  r.bottom = 70000;
  r.extra[3] = 9;
  CQzuMemStream out;
  r.SaveToStream(out);
  CQzuMemStream in(out.Buffer());
  rg_TavelkinWeiZhiLei back;
  back.LoadFromStream(in);
  EXPECT_TRUE(back.IsEqual(r));

  CQzuMemStream shortIn(out.Buffer().GetData(), 10);
  rg_TavelkinWeiZhiLei partial;
  partial.LoadFromStream(shortIn);
  EXPECT_EQ(shortIn.GetError(), kQzuStreamShortRead);
  EXPECT_EQ(partial.mode, 0);
  EXPECT_EQ(partial.left, -5);
  EXPECT_EQ(partial.top, 0);
}

TEST(PositionRecord, SizeMovesTheEdgesUnderMode) {
  rg_TavelkinWeiZhiLei r;
  r.SetSize(7, 18);
  EXPECT_EQ(r.right, 6);
  EXPECT_EQ(r.bottom, 17);
  r.mode = 0;
  r.SetSize(10, 10);
  EXPECT_EQ(r.right, 6);
  EXPECT_EQ(r.width, 10);
}

TEST(PositionRecord, ValueSemantics) {
  rg_TavelkinWeiZhiLei a, b;
  EXPECT_TRUE(a.IsEqual(b));
  b.extra[2] = 1;
  EXPECT_FALSE(a.IsEqual(b));
  b.SetHeaderWord(3);
  b.SetNull(true);
  EXPECT_EQ(a.CopyFrom(b), 1);
  EXPECT_TRUE(a.IsEqual(b));
  EXPECT_TRUE(a.IsNull());
  a.Reset();
  EXPECT_EQ(a.mode, 1);
  EXPECT_EQ(a.extra[2], 0);
  CQzuObject* clone = b.Clone();
  ASSERT_NE(clone, nullptr);
  EXPECT_TRUE(clone->IsEqual(b));
  clone->Release();
  EXPECT_TRUE(b.IsKindOf(CQzuObject::StaticClassInfo()));
  CQzuObject plain;
  EXPECT_EQ(a.CopyFrom(plain), 0);
}

}  // namespace
