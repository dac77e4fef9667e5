// Clocks on the window-less timers: one native timer per running clock, ticks
// at the period, stopping at 0, and no tick reaching a clock that is gone or
// a copy that does not own the timer.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "common/event.h"
#include "platform/ticks.h"
#include "qt_pump.h"
#include "services/clock.h"

using rg_Tavelkin_MingLingJi::ClockTimerMapSize;
using rg_Tavelkin_MingLingJi::rg_TavelkinShiZhongLei;

namespace {

using qzu_test::PumpFor;
using qzu_test::PumpUntil;

struct TickLog : CQzuObject {
  std::vector<uint64_t> ticks;  // tick count of each event
  std::vector<CQzuObject*> senders;
  int stopAfter = 0;  // stops the sending clock at this tick
};

intptr_t OnTick(CQzuObject* receiver, CQzuObject* sender, intptr_t) {
  auto* log = static_cast<TickLog*>(receiver);
  log->ticks.push_back(GetTickCount64());
  log->senders.push_back(sender);
  if (log->stopAfter && static_cast<int>(log->ticks.size()) == log->stopAfter)
    static_cast<rg_TavelkinShiZhongLei*>(sender)->SetClockPeriod(0);
  return 0;
}

class ClockTest : public ::testing::Test {
 protected:
  void Connect(rg_TavelkinShiZhongLei& clock) { clock.clockEvent.Connect(&OnTick, logRef); }
  TickLog log;
  CQzuReceiverRef logRef = CQzuReceiverRef::Make(&log);
};

TEST_F(ClockTest, SamePeriodKeepsTheTimerAndZeroOrLessStopsIt) {
  const int before = ClockTimerMapSize();
  rg_TavelkinShiZhongLei clock;
  clock.SetClockPeriod(100);
  const int id = clock.GetTimerId();
  EXPECT_NE(id, 0);
  EXPECT_TRUE(clock.IsMapped());
  clock.SetClockPeriod(100);
  EXPECT_EQ(clock.GetTimerId(), id);
  EXPECT_EQ(ClockTimerMapSize(), before + 1);

  clock.SetClockPeriod(0);
  EXPECT_EQ(clock.GetTimerId(), 0);
  EXPECT_EQ(clock.GetPeriod(), 0);
  EXPECT_EQ(ClockTimerMapSize(), before);

  clock.SetClockPeriod(-5);
  EXPECT_EQ(clock.GetPeriod(), -5);
  EXPECT_EQ(clock.GetTimerId(), 0);
  EXPECT_EQ(ClockTimerMapSize(), before);
}

TEST_F(ClockTest, TicksAtItsPeriodUntilStopped) {
  rg_TavelkinShiZhongLei clock;
  Connect(clock);
  const uint64_t start = GetTickCount64();
  clock.SetClockPeriod(20);
  ASSERT_TRUE(PumpUntil([&] { return log.ticks.size() >= 5; }, 3000));
  // Never faster than the period (a little slack for the tick's resolution).
  EXPECT_GE(log.ticks[4] - start, 5u * 20u - 5u);
  for (CQzuObject* s : log.senders) EXPECT_EQ(s, &clock);

  clock.SetClockPeriod(0);
  const size_t atStop = log.ticks.size();
  PumpFor(80);
  EXPECT_EQ(log.ticks.size(), atStop);
}

TEST_F(ClockTest, NewPeriodReplacesTheTimer) {
  rg_TavelkinShiZhongLei clock;
  Connect(clock);
  clock.SetClockPeriod(1000);
  const int before = ClockTimerMapSize();
  clock.SetClockPeriod(10);
  EXPECT_EQ(ClockTimerMapSize(), before);  // the old id is unmapped
  ASSERT_TRUE(PumpUntil([&] { return log.ticks.size() >= 2; }, 900));
  clock.SetClockPeriod(0);
}

TEST_F(ClockTest, HandlerMayStopItsOwnClock) {
  rg_TavelkinShiZhongLei clock;
  Connect(clock);
  log.stopAfter = 2;
  clock.SetClockPeriod(5);
  ASSERT_TRUE(PumpUntil([&] { return log.ticks.size() >= 2; }, 3000));
  PumpFor(40);
  EXPECT_EQ(log.ticks.size(), 2u);
  EXPECT_EQ(clock.GetTimerId(), 0);
}

TEST_F(ClockTest, DestroyedClockLeavesNoTimerBehind) {
  const int before = ClockTimerMapSize();
  auto clock = std::make_unique<rg_TavelkinShiZhongLei>();
  Connect(*clock);
  clock->SetClockPeriod(5);
  ASSERT_TRUE(PumpUntil([&] { return !log.ticks.empty(); }, 3000));
  clock.reset();
  EXPECT_EQ(ClockTimerMapSize(), before);
  const size_t atDestruction = log.ticks.size();
  PumpFor(40);
  EXPECT_EQ(log.ticks.size(), atDestruction);
}

TEST_F(ClockTest, CopyCarriesTheValuesButNotTheTimer) {
  rg_TavelkinShiZhongLei clock;
  Connect(clock);
  clock.spareText = u"备注";
  clock.SetClockPeriod(5);
  {
    rg_TavelkinShiZhongLei copy(clock);
    EXPECT_TRUE(copy.IsEqual(clock));
    EXPECT_FALSE(copy.IsMapped());
    EXPECT_FALSE(copy.clockEvent.IsConnected());
    // Stopping the copy leaves the source's timer alone.
    copy.SetClockPeriod(0);
  }
  EXPECT_TRUE(clock.IsMapped());
  const size_t atCopy = log.ticks.size();
  ASSERT_TRUE(PumpUntil([&] { return log.ticks.size() > atCopy + 1; }, 3000));
  clock.SetClockPeriod(0);
}

TEST_F(ClockTest, StreamFormIsIdPeriodAndText) {
  rg_TavelkinShiZhongLei clock;
  clock.spareText = u"x";
  clock.SetClockPeriod(-3);
  CQzuMemStream stream;
  clock.SaveToStream(stream);
  stream.Rewind();
  rg_TavelkinShiZhongLei loaded;
  loaded.LoadFromStream(stream);
  ASSERT_TRUE(stream.Ok());
  EXPECT_TRUE(loaded.IsEqual(clock));
  EXPECT_EQ(loaded.GetPeriod(), -3);
}

}  // namespace
