#pragma once
// The rig of the drop-down list's widget tests: a shown form at DPI factor 1,
// a fake desktop (left button, Ctrl, cursor, clipboard, shell, message box),
// a log of the list's events, and input through QTest.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QWheelEvent>

#include <string>
#include <vector>

#include "common/dpi.h"
#include "components/drop_down_list.h"
#include "components/icon_render_cache.h"
#include "framework/edit_box.h"
#include "framework/win_form.h"
#include "platform/hooks.h"
#include "qt_pump.h"
#include "test_support.h"

namespace qzu_test {

using rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinZuGeKuang1;

class FakeDesktop : public IPlatformHooks {
 public:
  int16_t AsyncKeyState(int vk) override {
    const bool down = vk == qzu_win::kVkLButton ? leftDown : vk == qzu_win::kVkControl ? ctrlDown : false;
    return down ? static_cast<int16_t>(0x8000) : 0;
  }
  void CursorPosition(int& x, int& y) override {
    x = cursorX;
    y = cursorY;
  }
  CWString GetClipboardText() override { return clipboard; }
  bool SetClipboardText(const CWString& text) override {
    clipboard = text;
    return true;
  }
  bool ShellOpen(const CWString& address, const CWString&) override {
    opened.push_back(address);
    return true;
  }
  int MessageBox(const CWString& text, const CWString& caption, int) override {
    boxes.push_back(caption + u" " + text);
    return kIdOk;
  }

  bool leftDown = false, ctrlDown = false;
  int cursorX = 500, cursorY = 500;
  CWString clipboard;
  std::vector<CWString> opened, boxes;
};

// Every event of a list, by name, in order; field click and opening answer
// with the results set here.
struct DropDownLog : CQzuObject {
  std::vector<std::string> events;
  std::vector<int> moves;  // x, y, key flags of the last mouse move
  intptr_t fieldClickResult = 0;
  intptr_t openingResult = 0;
  CQzuReceiverRef ref = CQzuReceiverRef::Make(this);
  ~DropDownLog() override { ref->Detach(); }
  int Count(const std::string& what) const {
    int n = 0;
    for (const std::string& e : events) n += e == what;
    return n;
  }

  void Watch(rg_TavelkinZuGeKuang1& list) {
    list.ItemChosenEvent.Connect(&Note<kItemChosen>, ref);
    list.TextChangedEvent.Connect(&Note<kTextChanged>, ref);
    list.OpeningEvent.Connect(&Opening, ref);
    list.ClosedEvent.Connect(&Note<kClosed>, ref);
    list.ColourChosenEvent.Connect(&Note<kColourChosen>, ref);
    list.FieldClickEvent.Connect(&FieldClick, ref);
    list.MouseMoveEvent.Connect(&Move, ref);
  }

 private:
  enum Kind { kItemChosen, kTextChanged, kClosed, kColourChosen };
  static DropDownLog* L(CQzuObject* r) { return static_cast<DropDownLog*>(r); }
  template <Kind kind>
  static intptr_t Note(CQzuObject* r, CQzuObject*, intptr_t) {
    static const char* const names[] = {"item chosen", "text changed", "closed", "colour chosen"};
    L(r)->events.push_back(names[kind]);
    return 0;
  }
  static intptr_t Opening(CQzuObject* r, CQzuObject*, intptr_t) {
    L(r)->events.push_back("opening");
    return L(r)->openingResult;
  }
  static intptr_t FieldClick(CQzuObject* r, CQzuObject*, intptr_t) {
    L(r)->events.push_back("field click");
    return L(r)->fieldClickResult;
  }
  static intptr_t Move(CQzuObject* r, CQzuObject*, intptr_t, int x, int y, int keys) {
    L(r)->moves = {x, y, keys};
    return 0;
  }
};

class DropDownTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDpiFactor(1.0);
    m_previousHooks = InstallPlatformHooks(&desktop);
    m_savedFolder = GetProgramFolder();
    SetProgramFolder(CWString::FromUtf8(m_dir.str()));
    ResetIconCache();
    ASSERT_EQ(form.CreateForm(nullptr, 40, 40, 400, 300), 1);
    ASSERT_EQ(elsewhere.Create(&form, 300, 270, 90, 24, 90), 1);
    form.GetWidget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.GetWidget()));
    // Qt drops a move to the point where the pointer already is: an earlier
    // test that left it over the spot this one moves to would hide that move.
    QTest::mouseMove(elsewhere.GetWidget(), QPoint(45, 12));
  }
  void TearDown() override {
    form.DestroyWindow();
    InstallPlatformHooks(m_previousHooks);
    ResetIconCache();
    SetProgramFolder(m_savedFolder);
  }

  // Creates the list in `parent` with the items, and waits for its first
  // paint.
  void Make(rg_TavelkinZuGeKuang1& list, CQzuWinControl& parent, int x, int y, int width, const CWString& itemText,
            int height = 26) {
    log.Watch(list);
    ASSERT_EQ(list.Create(&parent, x, y, width, height, 1), 1);
    list.SetDropDownItemsText(itemText);
    ASSERT_TRUE(PumpUntil([&] { return list.ready && list.GetPaintCount() > 0; }));
  }

  static QWidget* D(rg_TavelkinZuGeKuang1& list) { return list.Display().GetWidget(); }
  // The middle of open row `i` (counted from the first visible row).
  static int RowY(rg_TavelkinZuGeKuang1& list, int i) {
    const int gap = ScaleForDpi(list.rowGap);
    return (list.opensUpward ? 0 : list.fieldHeight) + gap + i * list.GetDropDownRowHeight() +
           list.GetDropDownRowHeight() / 2;
  }
  void MoveTo(rg_TavelkinZuGeKuang1& list, int x, int y) { QTest::mouseMove(D(list), QPoint(x, y)); }
  void Click(rg_TavelkinZuGeKuang1& list, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    MoveTo(list, x, y);
    if (button == Qt::LeftButton) desktop.leftDown = true;
    QTest::mousePress(D(list), button, Qt::NoModifier, QPoint(x, y));
    if (button == Qt::LeftButton) desktop.leftDown = false;
    QTest::mouseRelease(D(list), button, Qt::NoModifier, QPoint(x, y));
  }
  // A click on the field's text part, or on its handle.
  void ClickText(rg_TavelkinZuGeKuang1& list) { Click(list, 10, list.fieldHeight / 2); }
  void ClickHandle(rg_TavelkinZuGeKuang1& list) {
    Click(list, list.GetDropDownHandleLeft() + 2, (list.opensUpward && list.open ? list.listHeight : 0) +
                                                      list.fieldHeight / 2);
  }
  // One notch of the wheel at (x, y) in the list, given to the widget there
  // (the display, or the scroll bar over it); positive turns away from the
  // user.
  void Wheel(rg_TavelkinZuGeKuang1& list, int angle, int x = 10, int y = 10) {
    QWidget* self = list.GetWidget();
    QWidget* target = self->childAt(x, y) ? self->childAt(x, y) : self;
    const QPoint local = target->mapFrom(self, QPoint(x, y));
    QWheelEvent e(QPointF(local), QPointF(target->mapToGlobal(local)), QPoint(), QPoint(0, angle), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    // As from the system: Qt passes only such a wheel event on to the
    // parents of a widget that leaves it (sendEvent would clear the mark).
    QSpontaneKeyEvent::setSpontaneous(&e);
    qApp->notify(target, &e);
  }
  // The pointer leaves the list; the watcher notices within its poll.
  void Leave(rg_TavelkinZuGeKuang1& list) {
    desktop.cursorX = desktop.cursorY = 5000;
    ASSERT_TRUE(PumpUntil([&] { return list.hover == 0; }));
  }

  FakeDesktop desktop;
  DropDownLog log;
  rg_Ombrine_MFCJieMian_base::CQzuWinForm form;
  rg_Ombrine_MFCJieMian_base::rg_edit_box elsewhere;  // somewhere else for the focus to go

 private:
  IPlatformHooks* m_previousHooks = nullptr;
  TempDir m_dir;
  CWString m_savedFolder;
};

}  // namespace qzu_test
