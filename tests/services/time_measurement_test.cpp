// Time measurement on a fake tick counter, including the 32-bit wrap.
#include <gtest/gtest.h>

#include "services/time_measurement.h"
#include "test_support.h"

using rg_Tavelkin_MingLingJi::rg_TavelkinShiJianCeLiangLei;

namespace {

// Every reading returns the current value, then moves it on by `step`.
struct FakeClock {
  static inline uint32_t now = 0;
  static inline uint32_t step = 0;
  static inline int readings = 0;
  static uint32_t Read() {
    ++readings;
    const uint32_t value = now;
    now += step;
    return value;
  }
};

class TimeMeasurement : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeClock::now = 0;
    FakeClock::step = 0;
    FakeClock::readings = 0;
    rg_Tavelkin_MingLingJi::SetTimeMeasurementTickSource(&FakeClock::Read);
  }
  void TearDown() override { rg_Tavelkin_MingLingJi::SetTimeMeasurementTickSource(nullptr); }
};

TEST_F(TimeMeasurement, ConstructionAndRestartTakeTheTick) {
  FakeClock::now = 0xFFFFFFF0u;
  rg_TavelkinShiJianCeLiangLei clock;
  EXPECT_EQ(clock.stamp, 0xFFFFFFF0LL);  // zero-extended, never negative
  EXPECT_STREQ(clock.GetClassInfo().name, "rg_Tavelkin_MingLingJi::rg_TavelkinShiJianCeLiangLei");
  FakeClock::now = 77;
  clock.RestartTimeMeasurement();
  EXPECT_EQ(clock.stamp, 77);
  FakeClock::now = 90;
  clock.Reset();  // a fresh object's stamp: the measurement restarts
  EXPECT_EQ(clock.stamp, 90);
}

TEST_F(TimeMeasurement, ElapsedTextAcrossTheTickWrap) {
  struct Case {
    uint32_t stamp;
    uint32_t now;
    const char16_t* prefix;
    const char16_t* text;
  } cases[] = {
      {1000, 1000, u"", u"用时 0 毫秒"},
      {1000, 1999, u"", u"用时 999 毫秒"},
      {5, 1239, u"批量转换完成,", u"批量转换完成,用时 1.23 秒"},
      {0, 60000, u"", u"用时 1 分"},
      {0xFFFFFF00u, 0x64u, u"", u"用时 356 毫秒"},        // wrapped: 256 + 100 ms
      {0xFFFFFC18u, 234u, u"", u"用时 1.23 秒"},           // wrapped: 1000 + 234 ms
      {0x80000000u, 0x7FFFFFFFu, u"", u"用时 1.66 月"},    // 2^32 - 1 ms, the longest span there is
  };
  for (const Case& c : cases) {
    rg_TavelkinShiJianCeLiangLei clock;
    clock.stamp = c.stamp;
    FakeClock::now = c.now;
    EXPECT_EQ(clock.ElapsedText(c.prefix).ToUtf8(), CWString(c.text).ToUtf8()) << c.stamp << " -> " << c.now;
    EXPECT_EQ(clock.stamp, static_cast<int64_t>(c.now));  // restarted
  }
}

TEST_F(TimeMeasurement, SecondElapsedTextMeasuresFromTheFirst) {
  FakeClock::now = 100;
  FakeClock::step = 2;  // each reading 2 ms after the one before
  rg_TavelkinShiJianCeLiangLei clock;  // stamp 100
  FakeClock::now = 600;
  EXPECT_EQ(clock.ElapsedText(CWString()), CWString(u"用时 500 毫秒"));  // now 600, restart at 602
  EXPECT_EQ(clock.stamp, 602);
  FakeClock::now = 700;
  EXPECT_EQ(clock.ElapsedText(CWString()), CWString(u"用时 98 毫秒"));
}

TEST_F(TimeMeasurement, CopiesCarryTheStamp) {
  FakeClock::now = 1000;
  rg_TavelkinShiJianCeLiangLei clock;
  FakeClock::now = 5000;
  rg_TavelkinShiJianCeLiangLei copy;
  ASSERT_EQ(copy.CopyFrom(clock), 1);
  EXPECT_EQ(copy.stamp, 1000);
  rg_TavelkinShiJianCeLiangLei constructed(clock);
  CQzuObject* cloned = clock.Clone();
  ASSERT_NE(cloned, nullptr);
  EXPECT_EQ(static_cast<rg_TavelkinShiJianCeLiangLei*>(cloned)->stamp, 1000);
  cloned->Release();

  FakeClock::now = 3000;
  EXPECT_EQ(copy.ElapsedText(CWString()), CWString(u"用时 2 秒"));
  EXPECT_EQ(constructed.ElapsedText(CWString()), CWString(u"用时 2 秒"));
  EXPECT_EQ(copy.ElapsedText(CWString()), CWString(u"用时 0 毫秒"));  // restarted by the first

  EXPECT_TRUE(clock.IsEqual(clock));
  constructed.stamp = clock.stamp;
  EXPECT_FALSE(clock.IsEqual(constructed));  // equal only to itself
}

TEST_F(TimeMeasurement, StreamFormIsTheEditBoxThenTheStamp) {
  FakeClock::now = 0x89ABCDEFu;
  rg_TavelkinShiJianCeLiangLei clock;
  CQzuMemStream editBoxOnly;
  clock.editBox.SaveToStream(editBoxOnly);
  CQzuMemStream whole;
  clock.SaveToStream(whole);
  std::string expected = qzu_test::ToHex(editBoxOnly.Buffer().GetData(), editBoxOnly.Buffer().GetSize());
  expected += (expected.empty() ? "" : " ") + std::string("EF CD AB 89 00 00 00 00");
  EXPECT_EQ(qzu_test::ToHex(whole.Buffer().GetData(), whole.Buffer().GetSize()), expected);

  whole.Rewind();
  FakeClock::now = 1;
  rg_TavelkinShiJianCeLiangLei loaded;
  loaded.LoadFromStream(whole);
  EXPECT_EQ(whole.GetError(), 0);
  EXPECT_EQ(loaded.stamp, 0x89ABCDEFLL);

  // A stamp cut short: error -3, the stamp as it was.
  CQzuMemStream cut(whole.Buffer().GetData(), whole.Buffer().GetSize() - 3);
  rg_TavelkinShiJianCeLiangLei partial;
  partial.LoadFromStream(cut);
  EXPECT_EQ(cut.GetError(), kQzuStreamShortRead);
  EXPECT_EQ(partial.stamp, 1);
}

TEST(TimeMeasurementRealClock, MeasuresTheSystemTick) {
  rg_TavelkinShiJianCeLiangLei clock;
  EXPECT_EQ(clock.stamp >> 32, 0);
  const CWString text = clock.ElapsedText(u"前缀");
  EXPECT_TRUE(text.StartsWith(u"前缀用时 ")) << text.ToUtf8();
  EXPECT_TRUE(text.EndsWith(u" 毫秒") || text.EndsWith(u" 秒")) << text.ToUtf8();
}

}  // namespace
