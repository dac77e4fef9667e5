// Event slots on controls: vetoes, receivers that leave while events are
// queued, timers ticking through the pump.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include <memory>

#include "framework/edit_box.h"
#include "framework/label.h"
#include "framework/timer_control.h"
#include "framework/win_container.h"
#include "framework/win_form.h"
#include "framework/window_less_timer.h"
#include "framework_test_util.h"

using namespace rg_Ombrine_MFCJieMian_base;
using qzu_test::PumpFor;
using qzu_test::PumpUntil;
using qzu_test::R;
using qzu_test::Recorder;

namespace {

intptr_t RecordKey(CQzuObject* r, CQzuObject*, intptr_t, int key, int) {
  R(r)->Add("key", {key});
  return R(r)->result;
}

intptr_t RecordMessage(CQzuObject* r, CQzuObject*, intptr_t, int message, intptr_t w, intptr_t) {
  R(r)->Add("message", {message, w});
  return 0;
}

intptr_t RecordTick(CQzuObject* r, CQzuObject*, intptr_t) {
  R(r)->Add("tick");
  return 0;
}

struct ShownForm {
  CQzuWinForm form;
  ShownForm() {
    EXPECT_EQ(form.CreateForm(nullptr, 10, 10, 300, 200), 1);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
  }
};

}  // namespace

TEST(EventSlots, KeyHandlerResultVetoesTheEditBoxInput) {
  ShownForm host;
  Recorder rec;
  rg_edit_box edit;
  edit.OnKeyDown.Connect(RecordKey, rec.ref);
  ASSERT_EQ(edit.Create(&host.form, 5, 5, 200, 26), 1);
  edit.SetFocus();

  rec.result = 1;  // swallow: the box never sees the key
  QTest::keyClick(edit.GetWidget(), Qt::Key_A);
  EXPECT_EQ(edit.GetText(), u"");
  rec.result = 0;
  QTest::keyClick(edit.GetWidget(), Qt::Key_B);
  EXPECT_EQ(edit.GetText(), u"b");
  EXPECT_EQ(rec.Count("key"), 2);
}

TEST(EventSlots, CloseQueryVetoKeepsTheWindow) {
  Recorder rec;
  CQzuWinForm form;
  form.OnCloseQuery.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    R(r)->Add("query");
    return R(r)->result;
  }, rec.ref);
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 100, 100), 1);
  rec.result = 1;
  form.GetWidget()->close();
  EXPECT_TRUE(form.HasWindow());
  rec.result = 0;
  form.GetWidget()->close();
  EXPECT_FALSE(form.HasWindow());
  EXPECT_EQ(rec.Count("query"), 2);
}

TEST(EventSlots, ReceiverDetachedWhileMessagesAreQueuedGetsNothing) {
  ShownForm host;
  auto* rec = new Recorder();
  host.form.OnMessage.Connect(RecordMessage, rec->ref);
  host.form.PostMessage(0x0500, 1);
  host.form.PostMessage(0x0500, 2);
  rec->ref->Detach();
  PumpFor(20);
  EXPECT_TRUE(rec->log.empty());
  delete rec;

  // A live receiver gets the queued messages in order.
  Recorder live;
  host.form.OnMessage.Connect(RecordMessage, live.ref);
  host.form.PostMessage(0x0500, 3);
  host.form.PostMessage(0x0500, 4);
  PumpFor(20);
  ASSERT_EQ(live.Count("message"), 2);
  EXPECT_EQ(live.args[0][1], 3);
  EXPECT_EQ(live.args[1][1], 4);
}

TEST(EventSlots, ControlDestroyedWithMessagesQueuedIsNotCalled) {
  ShownForm host;
  Recorder rec;
  auto* edit = new rg_edit_box();
  edit->OnMessage.Connect(RecordMessage, rec.ref);
  ASSERT_EQ(edit->Create(&host.form, 0, 0, 50, 20), 1);
  edit->PostMessage(0x0501, 7);
  delete edit;
  PumpFor(20);
  EXPECT_TRUE(rec.log.empty());
}

TEST(EventSlots, DetachedListenerRaisesNothing) {
  ShownForm host;
  Recorder rec;
  host.form.OnMessage.Connect(RecordMessage, rec.ref);
  host.form.DetachListener();
  host.form.SendMessage(0x0502, 1);
  EXPECT_TRUE(rec.log.empty());
  host.form.AttachListener();
  host.form.SendMessage(0x0502, 2);
  EXPECT_EQ(rec.Count("message"), 1);
}

TEST(Timers, TimerChildTicksThroughThePumpUntilStopped) {
  ShownForm host;
  Recorder rec;
  rg_timer timer;
  timer.OnTick.Connect(RecordTick, rec.ref);
  timer.SetTimer(1000, 10);  // before the window: starts at creation
  PumpFor(30);
  EXPECT_EQ(rec.Count("tick"), 0);
  ASSERT_EQ(timer.Create(&host.form, 0, 0, 1, 1), 1);
  EXPECT_FALSE(timer.IsVisible());
  ASSERT_TRUE(PumpUntil([&] { return rec.Count("tick") >= 3; }, 1000));
  timer.SetInterval(0);
  const int seen = rec.Count("tick");
  PumpFor(50);
  EXPECT_EQ(rec.Count("tick"), seen);
  EXPECT_EQ(timer.GetTimerId(), 1000);
}

TEST(Timers, ATimerWhoseControlIsGoneWhileACopyKeepsItsWindowTicksIntoNothing) {
  ShownForm host;
  Recorder rec;
  auto timer = std::make_unique<rg_timer>();
  timer->OnTick.Connect(RecordTick, rec.ref);
  ASSERT_EQ(timer->Create(&host.form, 0, 0, 1, 1), 1);
  timer->SetInterval(5);
  ASSERT_TRUE(PumpUntil([&] { return rec.Count("tick") >= 1; }, 1000));
  rg_timer copy;
  ASSERT_EQ(copy.CopyFrom(*timer), 1);
  ASSERT_TRUE(copy.HasWindow());
  // The copy keeps the running window; the ticks must not reach the control
  // that is gone (under the sanitizers that is a use after free).
  timer.reset();
  const int seen = rec.Count("tick");
  PumpFor(40);
  EXPECT_EQ(rec.Count("tick"), seen);
}

namespace {
int g_windowLessTicks = 0;
uintptr_t g_lastId = 0;
void CountTick(void* window, unsigned message, uintptr_t id, uint32_t) {
  EXPECT_EQ(window, nullptr);
  EXPECT_EQ(message, 0x113u);
  g_lastId = id;
  ++g_windowLessTicks;
}
}  // namespace

TEST(Timers, WindowLessTimerCallsBackUntilKilled) {
  g_windowLessTicks = 0;
  const uintptr_t id = SetTimer(nullptr, 0, 5, CountTick);
  ASSERT_NE(id, 0u);
  ASSERT_TRUE(PumpUntil([] { return g_windowLessTicks >= 2; }, 1000));
  EXPECT_EQ(g_lastId, id);
  // Setting it again with its id restarts the same timer.
  EXPECT_EQ(SetTimer(nullptr, id, 5, CountTick), id);
  EXPECT_TRUE(KillTimer(nullptr, id));
  EXPECT_FALSE(KillTimer(nullptr, id));
  const int seen = g_windowLessTicks;
  PumpFor(30);
  EXPECT_EQ(g_windowLessTicks, seen);
}

TEST(ControlEvents, SizeMoveFocusLeaveAndHiddenReachTheirSlots) {
  ShownForm host;
  Recorder rec;
  rg_edit_box a, b;
  a.OnSize.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int w, int h) -> intptr_t {
    R(r)->Add("size", {w, h});
    return 0;
  }, rec.ref);
  a.OnMove.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int x, int y) -> intptr_t {
    R(r)->Add("move", {x, y});
    return 0;
  }, rec.ref);
  a.OnFocusGot.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    R(r)->Add("focus");
    return 0;
  }, rec.ref);
  a.OnFocusLost.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    R(r)->Add("unfocus");
    return 0;
  }, rec.ref);
  a.OnMouseLeave.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    R(r)->Add("leave");
    return 0;
  }, rec.ref);
  a.OnHidden.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    R(r)->Add("hidden");
    return 0;
  }, rec.ref);
  ASSERT_EQ(a.Create(&host.form, 5, 5, 100, 26), 1);
  ASSERT_EQ(b.Create(&host.form, 5, 40, 100, 26), 1);
  PumpFor(10);
  rec.log.clear();
  rec.args.clear();
  a.Move(20, 30, 150, 40);
  PumpFor(10);
  EXPECT_EQ(rec.Count("size"), 1);
  EXPECT_EQ(rec.Count("move"), 1);
  EXPECT_EQ(a.GetClientWidth(), 150);
  host.form.GetWidget()->activateWindow();
  a.SetFocus();
  b.SetFocus();
  PumpFor(10);
  EXPECT_EQ(rec.Count("focus"), 1);
  EXPECT_EQ(rec.Count("unfocus"), 1);
  EXPECT_TRUE(b.HasFocus());
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(a.GetWidget(), &leave);
  EXPECT_EQ(rec.Count("leave"), 1);
  a.SetVisible(false);
  EXPECT_EQ(rec.Count("hidden"), 1);
  EXPECT_FALSE(a.IsVisible());
}

TEST(ControlEvents, AChildsIgnoredMouseEventDoesNotReachTheParentControl) {
  ShownForm host;
  Recorder rec;
  rg_label8 label;  // QLabel ignores presses, so Qt would pass them up
  auto down = [](CQzuObject* r, CQzuObject* sender, intptr_t, int, int, int) -> intptr_t {
    R(r)->Add(dynamic_cast<rg_label8*>(sender) ? "label" : "form");
    return 0;
  };
  label.OnLeftDown.Connect(down, rec.ref);
  host.form.OnLeftDown.Connect(down, rec.ref);
  ASSERT_EQ(label.Create(&host.form, 10, 10, 100, 30, 1, u"标签"), 1);
  QTest::mouseClick(label.GetWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QTest::mouseClick(host.form.GetWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
  EXPECT_EQ(rec.Count("label"), 1);
  EXPECT_EQ(rec.Count("form"), 1);
}

TEST(ControlEvents, AChildCreatedHiddenStaysHiddenWhenItsParentShows) {
  CQzuWinForm form;
  rg_label8 hidden, shown;
  form.SetVisible(false);
  hidden.SetVisible(false);
  ASSERT_EQ(form.CreateForm(nullptr, 30, 30, 200, 100), 1);
  ASSERT_EQ(hidden.Create(&form, 0, 0, 50, 20), 1);
  ASSERT_EQ(shown.Create(&form, 0, 30, 50, 20), 1);
  form.SetVisible(true);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
  EXPECT_FALSE(hidden.GetWidget()->isVisible());
  EXPECT_FALSE(hidden.IsVisible());
  EXPECT_TRUE(shown.GetWidget()->isVisible());
}

TEST(ControlLooks, CursorShapeReachesTheWidgetAndItsChildren) {
  ShownForm host;
  rg_ZuJianBuJuQi panel, later;
  rg_label8 inside;
  panel.SetCursorShape(kCursorHand);  // kept until the window exists
  ASSERT_EQ(panel.Create(&host.form, 0, 0, 100, 60), 1);
  ASSERT_EQ(inside.Create(&panel, 5, 5, 50, 20), 1);
  EXPECT_EQ(panel.GetWidget()->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(inside.GetWidget()->cursor().shape(), Qt::PointingHandCursor);  // a child without its own
  EXPECT_EQ(host.form.GetWidget()->cursor().shape(), Qt::ArrowCursor);

  panel.SetCursorShape(kCursorWait);  // at once on a live window
  EXPECT_EQ(inside.GetWidget()->cursor().shape(), Qt::WaitCursor);
  panel.SetCursorShape(kCursorDefault);
  EXPECT_FALSE(panel.GetWidget()->testAttribute(Qt::WA_SetCursor));

  panel.SetCursorShape(kCursorHand);
  ASSERT_EQ(later.CopyFrom(panel), 1);
  EXPECT_EQ(later.GetCursorShape(), kCursorHand);
}

// The destroyed event: once per window, whether the control destroys it, a
// WM_CLOSE does, or it goes with its parent; not for a control that is gone.
TEST(ControlEvents, DestroyedIsRaisedOncePerWindowHoweverItGoes) {
  Recorder rec;
  auto destroyed = [](CQzuObject* r, CQzuObject* sender, intptr_t) -> intptr_t {
    R(r)->Add("destroyed", {reinterpret_cast<intptr_t>(sender)});
    return 0;
  };
  CQzuWinForm form;
  rg_label8 byCall, byClose, withParent;
  for (CQzuWinControl* c : std::initializer_list<CQzuWinControl*>{&byCall, &byClose, &withParent})
    c->OnDestroyed.Connect(destroyed, rec.ref);
  ASSERT_EQ(form.CreateForm(nullptr, 10, 10, 200, 100), 1);
  ASSERT_EQ(byCall.Create(&form, 0, 0, 50, 20), 1);
  ASSERT_EQ(byClose.Create(&form, 0, 30, 50, 20), 1);
  ASSERT_EQ(withParent.Create(&form, 0, 60, 50, 20), 1);

  byCall.DestroyWindow();
  EXPECT_EQ(rec.args, (std::vector<std::vector<intptr_t>>{{reinterpret_cast<intptr_t>(&byCall)}}));
  byCall.DestroyWindow();  // no window: nothing
  byClose.SendMessage(qzu_win::kWmClose);
  EXPECT_EQ(rec.Count("destroyed"), 2);
  EXPECT_FALSE(byClose.HasWindow());
  PumpFor(20);  // the deferred deletions raise nothing more
  EXPECT_EQ(rec.Count("destroyed"), 2);

  // The parent's widget deleted outright takes its child along.
  delete form.GetWidget();
  EXPECT_EQ(rec.Count("destroyed"), 3);
  EXPECT_EQ(rec.args.back(), std::vector<intptr_t>{reinterpret_cast<intptr_t>(&withParent)});
  EXPECT_FALSE(withParent.HasWindow());

  // A control object destroyed before its window hears nothing.
  {
    CQzuWinForm other;
    ASSERT_EQ(other.CreateForm(nullptr, 10, 10, 200, 100), 1);
    auto* gone = new rg_label8();
    gone->OnDestroyed.Connect(destroyed, rec.ref);
    ASSERT_EQ(gone->Create(&other, 0, 0, 50, 20), 1);
    delete gone;
  }
  PumpFor(20);
  EXPECT_EQ(rec.Count("destroyed"), 3);
}
