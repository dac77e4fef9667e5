// The mouse enter/leave watcher on two offscreen controls side by side, with
// the cursor moved through a fake platform hook.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/event.h"
#include "framework/win_control.h"
#include "platform/hooks.h"
#include "qt_pump.h"
#include "services/mouse_enter_leave_watcher.h"

using rg_Tavelkin_MingLingJi::rg_TavelkinYiRuYiChuShiJianLei;

namespace {

using qzu_test::PumpFor;
using qzu_test::PumpUntil;

class FakeCursor : public IPlatformHooks {
 public:
  void CursorPosition(int& cx, int& cy) override {
    cx = x;
    cy = y;
  }
  int x = 0, y = 0;
};

struct EventLog : CQzuObject {
  std::vector<std::string> events;  // "in A", "out B", ...
  CQzuWinControl* a = nullptr;
  CQzuWinControl* b = nullptr;
  std::string Name(CQzuWinControl* c) const { return c == a ? "A" : c == b ? "B" : "?"; }
};

intptr_t OnIn(CQzuObject* r, CQzuObject*, intptr_t, CQzuWinControl* c, CQzuWinControl* c2, int value) {
  auto* log = static_cast<EventLog*>(r);
  log->events.push_back("in " + log->Name(c) + (c == c2 && value == 0 ? "" : " (bad args)"));
  return 0;
}

intptr_t OnOut(CQzuObject* r, CQzuObject*, intptr_t, CQzuWinControl* c, CQzuWinControl* c2, int value) {
  auto* log = static_cast<EventLog*>(r);
  log->events.push_back("out " + log->Name(c) + (c == c2 && value == 0 ? "" : " (bad args)"));
  return 0;
}

class WatcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousHooks = InstallPlatformHooks(&cursor);
    ASSERT_EQ(parent.Create(nullptr, 200, 150, 300, 120), 1);
    ASSERT_EQ(a.Create(&parent, 0, 0, 100, 50), 1);
    ASSERT_EQ(b.Create(&parent, 100, 0, 100, 50), 1);
    log.a = &a;
    log.b = &b;
    watcher.moveInEvent.Connect(&OnIn, logRef);
    watcher.moveOutEvent.Connect(&OnOut, logRef);
  }
  void TearDown() override { InstallPlatformHooks(previousHooks); }

  // Puts the fake cursor over (x, y) of `control`'s client area.
  void PlaceCursor(CQzuWinControl& control, int x, int y) {
    int sx = x, sy = y;
    control.ClientToScreen(sx, sy);
    cursor.x = sx;
    cursor.y = sy;
  }
  // What a control reports for a mouse move at (x, y).
  int Move(CQzuWinControl& control, int x, int y) {
    PlaceCursor(control, x, y);
    return watcher.OnTrackedMouseMove(&control, x, y, 0);
  }

  FakeCursor cursor;
  IPlatformHooks* previousHooks = nullptr;
  CQzuWinControl parent, a, b;
  EventLog log;
  CQzuReceiverRef logRef = CQzuReceiverRef::Make(&log);
  rg_TavelkinYiRuYiChuShiJianLei watcher;
};

TEST_F(WatcherTest, MovingFromOneControlIntoTheNextLeavesBeforeEntering) {
  EXPECT_EQ(Move(a, 10, 10), 1);
  EXPECT_EQ(watcher.GetTrackedControl(), &a);
  EXPECT_EQ(watcher.GetPollClock().GetPeriod(), 50);
  EXPECT_EQ(Move(a, 30, 12), 0);  // still over A: nothing new
  EXPECT_EQ(Move(b, 2, 12), 1);
  EXPECT_EQ(watcher.GetTrackedControl(), &b);
  EXPECT_EQ(log.events, (std::vector<std::string>{"in A", "out A", "in B"}));
}

TEST_F(WatcherTest, PollReportsLeavingWhenTheCursorIsOutside) {
  ASSERT_EQ(Move(a, 10, 10), 1);
  // The cursor stays inside: polls raise nothing.
  PumpFor(120);
  EXPECT_EQ(log.events, (std::vector<std::string>{"in A"}));

  PlaceCursor(parent, 250, 100);  // over the parent, outside both controls
  ASSERT_TRUE(PumpUntil([&] { return log.events.size() == 2; }));
  EXPECT_EQ(log.events.back(), "out A");
  EXPECT_EQ(watcher.GetTrackedControl(), nullptr);
  EXPECT_EQ(watcher.GetPollClock().GetPeriod(), 0);
  EXPECT_EQ(watcher.GetPollClock().GetTimerId(), 0);
}

TEST_F(WatcherTest, RightAndBottomEdgesAreOutsideUnlessGrown) {
  struct Case {
    int x, y, extraWidth, extraHeight, outside;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 0},    {99, 49, 0, 0, 0},  {100, 10, 0, 0, 1}, {10, 50, 0, 0, 1},
      {-1, 10, 0, 0, 1},  {10, -1, 0, 0, 1},  {100, 10, 1, 0, 0}, {10, 51, 0, 2, 0},
      {101, 10, 1, 0, 1},
  };
  for (const Case& c : cases) {
    watcher.extraWidth = c.extraWidth;
    watcher.extraHeight = c.extraHeight;
    EXPECT_EQ(watcher.IsPointOutsideControl(c.x, c.y, &a), c.outside) << c.x << "," << c.y;
  }
  watcher.extraWidth = watcher.extraHeight = 0;
  // A move on the right edge starts no tracking.
  EXPECT_EQ(Move(a, 100, 10), 0);
  EXPECT_EQ(watcher.GetTrackedControl(), nullptr);
  EXPECT_TRUE(log.events.empty());
}

TEST_F(WatcherTest, ControlMovedWhileTrackedTakesANewOrigin) {
  ASSERT_EQ(Move(a, 10, 10), 1);
  EXPECT_EQ(watcher.controlLeft, 0);
  a.Move(20, 0, 80, 50);
  EXPECT_EQ(Move(a, 5, 6), 0);
  EXPECT_EQ(watcher.controlLeft, 20);
  EXPECT_EQ(watcher.moveX, 5);
  EXPECT_EQ(watcher.moveY, 6);
  EXPECT_EQ(watcher.cursorX, cursor.x);
  EXPECT_EQ(log.events, (std::vector<std::string>{"in A"}));
}

TEST_F(WatcherTest, DestroyedWhileTrackingStopsItsClock) {
  auto* w = new rg_TavelkinYiRuYiChuShiJianLei();
  w->moveOutEvent.Connect(&OnOut, logRef);
  PlaceCursor(a, 10, 10);
  ASSERT_EQ(w->OnTrackedMouseMove(&a, 10, 10), 1);
  const int id = w->GetPollClock().GetTimerId();
  EXPECT_NE(id, 0);
  delete w;
  PlaceCursor(parent, 250, 100);
  PumpFor(120);  // no tick may reach the deleted watcher
  EXPECT_TRUE(log.events.empty());
}

}  // namespace
