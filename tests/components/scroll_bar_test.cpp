// The owner-drawn scroll bar on the offscreen platform, with the left button
// and the cursor given by a fake platform hook: arrow boxes step once per
// press, thumb drags, track jumps, the wheel, right presses to the ends, the
// order of the events, redraw requests from a worker thread, and the object
// operations.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "common/dpi.h"
#include "components/scroll_bar.h"
#include "framework/colorref.h"
#include "framework/win_form.h"
#include "platform/hooks.h"
#include "qt_pump.h"

using namespace rg_TavelkinMingLingJi_ChuangKouZuJian;
using qzu_test::PumpFor;
using qzu_test::PumpUntil;

namespace {

class FakeMouse : public IPlatformHooks {
 public:
  int16_t AsyncKeyState(int vk) override { return vk == 0x01 && leftDown ? static_cast<int16_t>(0x8000) : 0; }
  void CursorPosition(int& x, int& y) override {
    x = cursorX;
    y = cursorY;
  }
  std::atomic<bool> leftDown{false};
  std::atomic<int> cursorX{1000}, cursorY{1000};
};

struct EventLog : CQzuObject {
  std::vector<std::string> events;
  std::vector<int> positions;
  std::vector<std::thread::id> threads;
  CQzuReceiverRef ref = CQzuReceiverRef::Make(this);
  ~EventLog() override { ref->Detach(); }
  int Count(const std::string& what) const {
    int n = 0;
    for (const std::string& e : events) n += e == what;
    return n;
  }
};

EventLog* Log(CQzuObject* r) { return static_cast<EventLog*>(r); }

intptr_t PositionChanged(CQzuObject* r, CQzuObject*, intptr_t, int32_t position) {
  Log(r)->events.push_back("position " + std::to_string(position));
  Log(r)->positions.push_back(position);
  Log(r)->threads.push_back(std::this_thread::get_id());
  return 0;
}
intptr_t Pressed(CQzuObject* r, CQzuObject*, intptr_t, int x, int, int) {
  Log(r)->events.push_back("pressed " + std::to_string(x));
  return 0;
}
intptr_t Released(CQzuObject* r, CQzuObject*, intptr_t, int, int, int) {
  Log(r)->events.push_back("released");
  return 0;
}
intptr_t DragEnded(CQzuObject* r, CQzuObject*, intptr_t) {
  Log(r)->events.push_back("drag ended");
  return 0;
}

// A shown form holding one 200 x 16 horizontal bar at DPI factor 1.
class ScrollBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDpiFactor(1.0);
    previous = InstallPlatformHooks(&mouse);
    ASSERT_EQ(form.CreateForm(nullptr, 20, 20, 320, 260), 1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
    Connect(bar);
    ASSERT_EQ(bar.Create(&form, 10, 10, 200, 16, 1), 1);
    ASSERT_TRUE(PumpUntil([&] { return bar.GetPaintCount() > 0; }));
  }
  void TearDown() override { InstallPlatformHooks(previous); }

  void Connect(rg_TavelkinGunDongTiao1& b) {
    b.OnPositionChanged.Connect(&PositionChanged, log.ref);
    b.OnPressed.Connect(&Pressed, log.ref);
    b.OnReleased.Connect(&Released, log.ref);
    b.OnDragEnded.Connect(&DragEnded, log.ref);
  }
  QWidget* Display() { return bar.Display().GetWidget(); }
  // A left press at x along the bar with the button held from then on.
  void LeftPress(int x) {
    mouse.leftDown = true;
    QTest::mousePress(Display(), Qt::LeftButton, Qt::NoModifier, QPoint(x, 8));
  }
  void LeftRelease(int x) {
    mouse.leftDown = false;
    QTest::mouseRelease(Display(), Qt::LeftButton, Qt::NoModifier, QPoint(x, 8));
  }
  void Wheel(int angle) {
    QWheelEvent e(QPointF(100, 8), Display()->mapToGlobal(QPointF(100, 8)), QPoint(), QPoint(0, angle), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Display(), &e);
  }
  // Puts the bar at `position` and forgets the events so far.
  void Place(int position) {
    bar.SetScrollBarPosition(position);
    log.events.clear();
    log.positions.clear();
  }
  // Lets the press watch see the button up.
  void WatchSeesRelease() { ASSERT_TRUE(PumpUntil([&] { return bar.held == 0; })); }

  FakeMouse mouse;
  IPlatformHooks* previous = nullptr;
  CQzuWinForm form;
  EventLog log;
  rg_TavelkinGunDongTiao1 bar;
};

}  // namespace

TEST_F(ScrollBarTest, TheFirstDrawMeasuresAndReportsPositionOne) {
  EXPECT_EQ(bar.length, 200);
  EXPECT_EQ(bar.thickness, 16);
  EXPECT_EQ(bar.thumbLength, 16);
  EXPECT_DOUBLE_EQ(bar.stepPixels, 150.0 / 99);
  EXPECT_EQ(bar.thumbOffset, 17);
  EXPECT_EQ(log.events, (std::vector<std::string>{"position 1"}));
  // Both painters cover the bar, and the display shows the canvas.
  EXPECT_EQ(bar.Canvas().GetWidth(), 200);
  EXPECT_EQ(Display()->size(), QSize(200, 16));
  EXPECT_EQ(bar.Display().GetDC().GetPixel(100, 8), 0xECECECu);  // the track
  EXPECT_EQ(bar.Display().GetDC().GetPixel(0, 0), 0xB99D7Fu);     // the start box's border
  EXPECT_EQ(bar.Display().GetDC().GetPixel(24, 3), 0xEEF5FFu);    // inside the thumb
}

TEST_F(ScrollBarTest, AnArrowBoxStepsOncePerPressHeldOrNot) {
  log.events.clear();
  bar.arrowStep = 3;
  LeftPress(5);  // the start box at position 1: clamped back, nothing to report
  EXPECT_EQ(bar.GetScrollBarPosition(), 1);
  LeftRelease(5);
  WatchSeesRelease();
  EXPECT_EQ(log.events, (std::vector<std::string>{"pressed 5", "released"}));

  log.events.clear();
  LeftPress(195);
  EXPECT_EQ(bar.hotPart, kScrollBarEndBox);
  EXPECT_EQ(bar.Display().GetDC().GetPixel(199, 0), 0x8050FFu);  // drawn held down
  PumpFor(300);  // ten ticks of the press watch: no repeat
  EXPECT_EQ(bar.GetScrollBarPosition(), 4);
  EXPECT_EQ(bar.Display().GetDC().GetPixel(199, 0), 0x8050FFu);
  LeftRelease(195);
  WatchSeesRelease();
  EXPECT_EQ(bar.hotPart, kScrollBarNoPart);
  EXPECT_EQ(bar.GetScrollBarPosition(), 4);
  EXPECT_EQ(bar.Display().GetDC().GetPixel(199, 0), 0xB99D7Fu);
  PumpFor(60);
  EXPECT_EQ(log.events, (std::vector<std::string>{"position 4", "pressed 195", "released"}));  // no drag ended
}

TEST_F(ScrollBarTest, AThumbDragFollowsTheCursorAndEndsOnce) {
  Place(50);
  ASSERT_EQ(bar.thumbOffset, 91);  // 17 + round(49 x 150 / 99)
  mouse.cursorX = 1000;
  LeftPress(99);
  EXPECT_EQ(bar.hotPart, kScrollBarThumb);
  EXPECT_EQ(bar.dragging, 1);
  EXPECT_EQ(bar.pressPosition, 50);

  mouse.cursorX = 1010;  // 10 pixels span 7 positions
  ASSERT_TRUE(PumpUntil([&] { return bar.GetScrollBarPosition() == 57; }));
  mouse.cursorX = 997;  // back past the press point
  ASSERT_TRUE(PumpUntil([&] { return bar.GetScrollBarPosition() == 48; }));
  mouse.cursorX = 3000;  // beyond the track's end
  ASSERT_TRUE(PumpUntil([&] { return bar.GetScrollBarPosition() == 100; }));
  EXPECT_EQ(bar.dragTarget, 100);

  LeftRelease(99);
  ASSERT_TRUE(PumpUntil([&] { return log.Count("drag ended") > 0; }));
  PumpFor(100);
  EXPECT_EQ(bar.dragging, 0);
  EXPECT_EQ(bar.hotPart, kScrollBarNoPart);
  EXPECT_EQ(log.events, (std::vector<std::string>{"pressed 99", "position 57", "position 48", "position 100",
                                                  "released", "drag ended"}));
}

TEST_F(ScrollBarTest, TrackPressesJumpAndTheThumbsLastPixelStartsADrag) {
  Place(20);
  ASSERT_EQ(bar.thumbOffset, 46);
  LeftPress(62);  // the thumb's last pixel
  EXPECT_EQ(bar.dragging, 1);
  LeftRelease(62);
  WatchSeesRelease();

  log.events.clear();
  LeftPress(63);  // one further: the track after the thumb
  EXPECT_EQ(bar.dragging, 0);
  EXPECT_EQ(bar.held, 0);
  EXPECT_EQ(bar.GetScrollBarPosition(), 20);
  LeftRelease(63);
  LeftPress(100);
  EXPECT_EQ(bar.GetScrollBarPosition(), 45);
  LeftRelease(100);
  LeftPress(30);  // before the thumb
  EXPECT_EQ(bar.GetScrollBarPosition(), 9);
  LeftRelease(30);
  EXPECT_EQ(log.events, (std::vector<std::string>{"pressed 63", "released", "position 45", "pressed 100", "released",
                                                  "position 9", "pressed 30", "released"}));
}

TEST_F(ScrollBarTest, WheelStepsAndRightPressesToTheEnds) {
  Place(10);
  Wheel(-120);  // toward the user: toward the count
  EXPECT_EQ(bar.GetScrollBarPosition(), 11);
  Wheel(240);
  EXPECT_EQ(bar.GetScrollBarPosition(), 9);
  Place(100);
  Wheel(-120);
  EXPECT_EQ(bar.GetScrollBarPosition(), 100);  // clamped by the repaint
  EXPECT_TRUE(log.events.empty());

  QTest::mousePress(Display(), Qt::RightButton, Qt::NoModifier, QPoint(5, 8));
  EXPECT_EQ(bar.GetScrollBarPosition(), 1);
  EXPECT_EQ(bar.hotPart, kScrollBarStartBox);
  EXPECT_EQ(bar.Display().GetDC().GetPixel(0, 0), 0x8050FFu);
  QTest::mouseRelease(Display(), Qt::RightButton, Qt::NoModifier, QPoint(5, 8));
  EXPECT_EQ(bar.hotPart, kScrollBarNoPart);
  EXPECT_EQ(bar.Display().GetDC().GetPixel(0, 0), 0xB99D7Fu);
  QTest::mouseClick(Display(), Qt::RightButton, Qt::NoModifier, QPoint(100, 8));  // the middle: no change
  EXPECT_EQ(bar.GetScrollBarPosition(), 1);
  QTest::mouseClick(Display(), Qt::RightButton, Qt::NoModifier, QPoint(190, 8));
  EXPECT_EQ(bar.GetScrollBarPosition(), 100);
  EXPECT_EQ(log.events, (std::vector<std::string>{"position 1", "position 100"}));
}

TEST_F(ScrollBarTest, PositionAndCountAreClampedAtTheDraw) {
  log.events.clear();
  bar.SetScrollBarPosition(0);
  EXPECT_EQ(bar.GetScrollBarPosition(), 1);
  bar.SetScrollBarPosition(500);
  EXPECT_EQ(bar.GetScrollBarPosition(), 100);
  bar.contentSize = 50;
  bar.SetScrollBarCount(41);
  EXPECT_EQ(bar.thumbLength, 29);
  EXPECT_EQ(bar.GetScrollBarPosition(), 41);
  const int paints = bar.GetPaintCount();
  bar.SetScrollBarCount(41);  // unchanged: no redraw
  EXPECT_EQ(bar.GetPaintCount(), paints);
  bar.SetScrollBarCount(1);  // a single position: no step, and no division by it
  EXPECT_EQ(bar.GetScrollBarPosition(), 1);
  EXPECT_EQ(bar.stepPixels, 0.0);
  bar.OnPositionChanged.Disconnect();  // unconnected: still draws and clamps
  bar.SetScrollBarCount(0);
  bar.SetScrollBarPosition(-4);
  EXPECT_EQ(bar.GetScrollBarPosition(), 1);
  bar.drawingEnabled = 0;
  bar.SetScrollBarPosition(-4);
  EXPECT_EQ(bar.GetScrollBarPosition(), -4);  // nothing draws, nothing clamps
  EXPECT_EQ(log.events, (std::vector<std::string>{"position 100", "position 41", "position 1"}));
}

// Requests made while a draw runs (from a position-changed handler) are
// drawn after it, equal ones once.
TEST_F(ScrollBarTest, RequestsMadeDuringADrawAreDrawnAfterItEqualOnesOnce) {
  static rg_TavelkinGunDongTiao1* s_bar;
  s_bar = &bar;
  bar.OnPositionChanged.Connect([](CQzuObject*, CQzuObject*, intptr_t, int32_t) -> intptr_t {
    for (int i = 0; i < 3; ++i) s_bar->RedrawScrollBar(kScrollBarThumb, 1, kScrollBarQueued);
    s_bar->RedrawScrollBar(kScrollBarStartBox, 0, kScrollBarQueued);
    return 0;
  }, log.ref);
  const int paints = bar.GetPaintCount();
  bar.SetScrollBarPosition(30);
  EXPECT_EQ(bar.GetPaintCount(), paints + 3);
  EXPECT_EQ(bar.redrawQueue.GetCount(), 0);
}

TEST_F(ScrollBarTest, ABurstOfRedrawsFromAWorkerGivesOnePaintOnTheUiThread) {
  const int paints = bar.GetPaintCount();
  std::thread worker([&] {
    for (int i = 1; i <= 200; ++i) {
      bar.SetScrollBarPosition(i % 60 + 1);
      bar.RedrawScrollBar(kScrollBarNoPart, 0, kScrollBarQueued);
    }
  });
  worker.join();
  EXPECT_EQ(bar.GetPaintCount(), paints);  // nothing painted on the worker
  ASSERT_TRUE(PumpUntil([&] { return bar.GetPaintCount() > paints; }));
  PumpFor(30);
  EXPECT_EQ(bar.GetPaintCount(), paints + 1);
  EXPECT_EQ(log.positions, (std::vector<int>{1, 21}));  // 200 % 60 + 1
  EXPECT_EQ(log.threads.back(), std::this_thread::get_id());
}

TEST_F(ScrollBarTest, AVerticalBarMeasuresAlongY) {
  rg_TavelkinGunDongTiao1 vertical;
  vertical.orientation = 1;
  Connect(vertical);
  ASSERT_EQ(vertical.Create(&form, 260, 10, 16, 200, 2), 1);
  ASSERT_TRUE(PumpUntil([&] { return vertical.GetPaintCount() > 0; }));
  EXPECT_EQ(vertical.length, 200);
  EXPECT_EQ(vertical.thickness, 16);
  mouse.leftDown = true;
  QTest::mousePress(vertical.Display().GetWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(8, 195));
  EXPECT_EQ(vertical.GetScrollBarPosition(), 2);
  EXPECT_EQ(vertical.Display().GetDC().GetPixel(0, 199), 0x8050FFu);
  mouse.leftDown = false;
  QTest::mouseRelease(vertical.Display().GetWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(8, 195));
}

TEST_F(ScrollBarTest, CopiesShareLocksAndWindowsAndTheStreamKeepsTheMembers) {
  bar.contentSize = 7;
  bar.SetScrollBarPosition(33);
  rg_TavelkinGunDongTiao1 copy;
  ASSERT_EQ(copy.CopyFrom(bar), 1);
  EXPECT_TRUE(copy.positionLock.SharesWith(bar.positionLock));
  EXPECT_TRUE(copy.redrawQueue.lock.SharesWith(bar.redrawQueue.lock));
  EXPECT_EQ(copy.Display().GetWidget(), Display());
  EXPECT_EQ(copy.position, 33);
  EXPECT_DOUBLE_EQ(copy.stepPixels, bar.stepPixels);
  EXPECT_FALSE(copy.OnPositionChanged.IsConnected());
  EXPECT_FALSE(copy.IsEqual(bar));
  EXPECT_TRUE(bar.IsEqual(bar));
  rg_Ombrine_MFCJieMian_base::rg_painter painter;
  EXPECT_EQ(copy.CopyFrom(painter), 0);  // another class is refused

  CQzuMemStream stream;
  bar.SaveToStream(stream);
  stream.Rewind();
  rg_TavelkinGunDongTiao1 loaded;
  loaded.LoadFromStream(stream);
  ASSERT_TRUE(stream.Ok());
  EXPECT_EQ(stream.Position(), stream.Buffer().GetSize());
  EXPECT_EQ(loaded.position, 33);
  EXPECT_EQ(loaded.contentSize, 7);
  EXPECT_EQ(loaded.thickness, 16);
  EXPECT_DOUBLE_EQ(loaded.stepPixels, bar.stepPixels);
  EXPECT_EQ(loaded.lastReportedPosition, 33);
  EXPECT_EQ(loaded.drawingEnabled, 1);

  CQzuMemStream cut(stream.Buffer().GetData(), stream.Buffer().GetSize() - 2);
  rg_TavelkinGunDongTiao1 partial;
  partial.LoadFromStream(cut);
  EXPECT_EQ(cut.GetError(), kQzuStreamShortRead);
}

TEST_F(ScrollBarTest, DefaultSizeFollowsTheDpiFactor) {
  rg_TavelkinGunDongTiao1 fresh;
  EXPECT_EQ(fresh.length, 0);  // no window: nothing measured
  EXPECT_EQ(fresh.DefaultWidth(), 500);
  EXPECT_EQ(fresh.DefaultHeight(), 350);
  SetDpiFactor(1.25);
  EXPECT_EQ(fresh.DefaultWidth(), 625);
  EXPECT_EQ(fresh.DefaultHeight(), 438);
  SetDpiFactor(1.0);
}
