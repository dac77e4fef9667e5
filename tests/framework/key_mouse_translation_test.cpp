// Keys, buttons, modifiers and the wheel as the controls receive them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include "framework/key_translation.h"
#include "framework/qt_platform_hooks.h"
#include "framework/win_form.h"
#include "framework_test_util.h"

using namespace rg_Ombrine_MFCJieMian_base;
using qzu_test::R;
using qzu_test::Recorder;

TEST(KeyTranslation, QtKeysBecomeVirtualKeyCodes) {
  struct Case {
    int qtKey;
    Qt::KeyboardModifiers mods;
    int vk;
  } cases[] = {
      {Qt::Key_Left, Qt::NoModifier, 0x25},     {Qt::Key_Up, Qt::NoModifier, 0x26},
      {Qt::Key_Right, Qt::NoModifier, 0x27},    {Qt::Key_Down, Qt::NoModifier, 0x28},
      {Qt::Key_F2, Qt::NoModifier, 0x71},       {Qt::Key_F5, Qt::NoModifier, 0x74},
      {Qt::Key_Delete, Qt::NoModifier, 0x2E},   {Qt::Key_Return, Qt::NoModifier, 0x0D},
      {Qt::Key_Enter, Qt::KeypadModifier, 0x0D}, {Qt::Key_Escape, Qt::NoModifier, 0x1B},
      {Qt::Key_A, Qt::ControlModifier, 'A'},    {Qt::Key_Exclam, Qt::ShiftModifier, '1'},
      {Qt::Key_5, Qt::KeypadModifier, 0x65},    {Qt::Key_Backtab, Qt::ShiftModifier, 0x09},
      {Qt::Key_Control, Qt::ControlModifier, 0x11}, {Qt::Key_Comma, Qt::NoModifier, 0xBC},
      {Qt::Key_unknown, Qt::NoModifier, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(VirtualKeyFromQtKey(c.qtKey, c.mods), c.vk) << std::hex << c.qtKey;
}

TEST(KeyTranslation, ModifierFlagsAndButtons) {
  EXPECT_EQ(ModifierFlagsFromQt(Qt::NoModifier), 0);
  EXPECT_EQ(ModifierFlagsFromQt(Qt::ControlModifier), 0x2000);
  EXPECT_EQ(ModifierFlagsFromQt(Qt::AltModifier), 0x4000);
  EXPECT_EQ(ModifierFlagsFromQt(Qt::ShiftModifier), 0x8000);
  EXPECT_EQ(ModifierFlagsFromQt(Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier), 0xA000);
  EXPECT_EQ(VirtualKeyFromMouseButton(Qt::LeftButton), 1);
  EXPECT_EQ(VirtualKeyFromMouseButton(Qt::RightButton), 2);
  EXPECT_EQ(VirtualKeyFromMouseButton(Qt::MiddleButton), 4);
}

// A shown form whose key, mouse and wheel events are recorded.
class InputEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.OnKeyDown.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int key, int flags) -> intptr_t {
      R(r)->Add("key", {key, flags});
      return 0;
    }, rec.ref);
    form.OnLeftDown.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int x, int y, int f) -> intptr_t {
      R(r)->Add("down", {x, y, f});
      return 0;
    }, rec.ref);
    form.OnLeftUp.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int x, int y, int f) -> intptr_t {
      R(r)->Add("up", {x, y, f});
      return 0;
    }, rec.ref);
    form.OnDoubleClick.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int x, int y, int f) -> intptr_t {
      R(r)->Add("double", {x, y, f});
      return 0;
    }, rec.ref);
    form.OnWheel.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int d, int x, int y, int f) -> intptr_t {
      R(r)->Add("wheel", {d, x, y, f});
      return 0;
    }, rec.ref);
    ASSERT_EQ(form.CreateForm(nullptr, 50, 50, 200, 150), 1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
  }

  Recorder rec;
  CQzuWinForm form;
};

TEST_F(InputEventsTest, KeysArriveAsVirtualKeysWithModifierFlags) {
  QWidget* w = form.GetWidget();
  QTest::keyClick(w, Qt::Key_Left, Qt::ControlModifier);
  QTest::keyClick(w, Qt::Key_F2);
  QTest::keyClick(w, Qt::Key_Delete, Qt::ShiftModifier | Qt::AltModifier);
  QTest::keyClick(w, Qt::Key_Return);
  // The modifier keys arrive as key downs of their own (VK_CONTROL...),
  // as on Windows; the keys that follow carry the flags.
  std::vector<std::vector<intptr_t>> keys, modifiers;
  for (const auto& a : rec.args) (a[0] >= 0x10 && a[0] <= 0x12 ? modifiers : keys).push_back(a);
  ASSERT_EQ(keys.size(), 4u);
  EXPECT_EQ(keys[0], (std::vector<intptr_t>{0x25, 0x2000}));
  EXPECT_EQ(keys[1], (std::vector<intptr_t>{0x71, 0}));
  EXPECT_EQ(keys[2], (std::vector<intptr_t>{0x2E, 0xC000}));
  EXPECT_EQ(keys[3], (std::vector<intptr_t>{0x0D, 0}));
  ASSERT_FALSE(modifiers.empty());
  EXPECT_EQ(modifiers[0][0], 0x11);
}

TEST_F(InputEventsTest, DoubleClickIsNotASecondPress) {
  QWidget* w = form.GetWidget();
  QTest::mouseClick(w, Qt::LeftButton, Qt::ControlModifier, QPoint(30, 40));
  QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(30, 40));
  // Click, then the double click's own release: one press only before it.
  EXPECT_EQ(rec.Count("down"), 1);
  EXPECT_EQ(rec.Count("double"), 1);
  ASSERT_FALSE(rec.args.empty());
  EXPECT_EQ(rec.args[0], (std::vector<intptr_t>{30, 40, 0x2000}));
}

TEST_F(InputEventsTest, WheelDeltasComeInStepsOf120) {
  QWidget* w = form.GetWidget();
  for (int angle : {120, -240}) {
    QWheelEvent e(QPointF(10, 20), w->mapToGlobal(QPointF(10, 20)), QPoint(), QPoint(0, angle), Qt::NoButton,
                  Qt::ShiftModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
  }
  ASSERT_EQ(rec.Count("wheel"), 2);
  EXPECT_EQ(rec.args[0], (std::vector<intptr_t>{120, 10, 20, 0x8000}));
  EXPECT_EQ(rec.args[1][0], -240);
}

TEST_F(InputEventsTest, AsyncKeyStateFollowsTheLeftButton) {
  InstallQtPlatformHooks();
  QWidget* w = form.GetWidget();
  QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_NE(GetAsyncKeyState(qzu_win::kVkLButton) & 0x8000, 0);
  QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_EQ(GetAsyncKeyState(qzu_win::kVkLButton) & 0x8000, 0);
  InstallPlatformHooks(nullptr);
}
