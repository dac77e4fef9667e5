// The code edit box's events: which notification raises which event with
// which arguments, how modification notifications are split, and the real
// editor raising them when typed into, undone and completed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <cstring>
#include <string>

#include "components/code_edit_box.h"
#include "editor_test_util.h"
#include "framework/win_form.h"
#include "qt_pump.h"

using qzu_test::Event;
using qzu_test::EventLog;
using rg_Ombrine_windows_chkzj::rg_HuoHuaDaiMaBianJiKuang;

namespace {

constexpr unsigned kSciUndo = 2176;
constexpr unsigned kSciGetLength = 2183;
constexpr unsigned kSciAutoCShow = 2100;
constexpr unsigned kSciAutoCActive = 2102;
constexpr unsigned kSciAutoCComplete = 2104;
constexpr unsigned kSciSetUndoCollection = 2012;

void ListenToAll(rg_HuoHuaDaiMaBianJiKuang& box, EventLog& log) {
  log.Listen(box.OnMarginClick, "margin click");
  log.Listen(box.OnMarginRightClick, "margin right click");
  log.Listen(box.OnSavePointReached, "save point reached");
  log.Listen(box.OnSavePointLeft, "save point left");
  log.Listen(box.OnModifyAttemptReadOnly, "modify attempt read-only");
  log.Listen(box.OnInsertCheck, "insert check");
  log.Listen(box.OnLineStateChanged, "line state");
  log.Listen(box.OnMarginChanged, "margin changed");
  log.Listen(box.OnAnnotationChanged, "annotation");
  log.Listen(box.OnTabStopsChanged, "tab stops");
  log.Listen(box.OnAutoCSelection, "autoc selection");
  log.Listen(box.OnUserListSelection, "user list selection");
  log.Listen(box.OnMacroRecord, "macro record");
  log.Listen(box.OnCharAdded, "char added");
  log.Listen(box.OnEditorDoubleClick, "double click");
  log.Listen(box.OnUpdateUI, "update ui");
  log.Listen(box.OnTextInserted, "inserted");
  log.Listen(box.OnTextDeleted, "deleted");
  log.Listen(box.OnStyleChanged, "style");
  log.Listen(box.OnFoldChanged, "fold");
  log.Listen(box.OnMarkerChanged, "marker");
  log.Listen(box.OnBeforeInsert, "before insert");
  log.Listen(box.OnBeforeDelete, "before delete");
  log.Listen(box.OnIndicatorChanged, "indicator changed");
  log.Listen(box.OnLexerState, "lexer state");
  log.Listen(box.OnContainerModification, "container");
  log.Listen(box.OnPainted, "painted");
  log.Listen(box.OnDwellStart, "dwell start");
  log.Listen(box.OnDwellEnd, "dwell end");
  log.Listen(box.OnZoom, "zoom");
  log.Listen(box.OnHotSpotClick, "hotspot click");
  log.Listen(box.OnHotSpotDoubleClick, "hotspot double click");
  log.Listen(box.OnHotSpotReleaseClick, "hotspot release click");
  log.Listen(box.OnIndicatorClick, "indicator click");
  log.Listen(box.OnIndicatorRelease, "indicator release");
  log.Listen(box.OnCallTipClick, "call tip click");
  log.Listen(box.OnAutoCCancelled, "autoc cancelled");
  log.Listen(box.OnAutoCCharDeleted, "autoc char deleted");
  log.Listen(box.OnAutoCCompleted, "autoc completed");
  log.Listen(box.OnAutoCSelectionChange, "autoc selection change");
}

// A modification record: position 5, 3 bytes of "中文" (so exactly "中"
// when only `length` bytes are read), line 2, lines added 1, fold levels
// 0x401 and 0x400, token 9.
QzuScintillaNotification Modification(int type) {
  static const char kBytes[] = "\xE4\xB8\xAD\xE6\x96\x87";
  QzuScintillaNotification n;
  n.code = kScnModified;
  n.modificationType = type;
  n.position = 5;
  n.length = 3;
  n.text = kBytes;
  n.linesAdded = 1;
  n.line = 2;
  n.foldLevelNow = 0x401;
  n.foldLevelPrev = 0x400;
  n.token = 9;
  return n;
}

}  // namespace

TEST(CodeEditEvents, ModificationsAreSplitIntoOneKindAndItsFlags) {
  struct Case {
    const char* label;
    int type;
    const char* event;  // null: nothing is raised
    std::vector<intptr_t> leading;  // the arguments before the four flags
    intptr_t performed, multiStep, lastStep, startAction;
  };
  const Case cases[] = {
      {"typed insertion", 0x1 | 0x10 | 0x2000, "inserted", {5, 3, 1}, 0x10, 0, 0, 1},
      {"undone insertion", 0x2 | 0x20 | 0x80 | 0x100, "deleted", {5, 3, 1}, 0x20, 1, 1, 0},
      {"redone insertion", 0x1 | 0x40 | 0x100, "inserted", {5, 3, 1}, 0x40, 0, 1, 0},
      {"multi-line undo bit is neither kind nor flag", 0x2 | 0x20 | 0x1000, "deleted", {5, 3, 1}, 0x20, 0, 0, 0},
      {"style", 0x4 | 0x10, "style", {5, 3}, 0x10, 0, 0, 0},
      {"fold", 0x8, "fold", {2, 0x401, 0x400}, 0, 0, 0, 0},
      {"marker", 0x200 | 0x20, "marker", {2}, 0x20, 0, 0, 0},
      {"before insert", 0x400 | 0x10, "before insert", {5, 3}, 0x10, 0, 0, 0},
      {"before delete", 0x800 | 0x10 | 0x2000, "before delete", {5, 3}, 0x10, 0, 0, 1},
      {"indicator", 0x4000, "indicator changed", {5, 3}, 0, 0, 0, 0},
      {"line state", 0x8000, "line state", {2}, 0, 0, 0, 0},
      {"margin", 0x10000, "margin changed", {2}, 0, 0, 0, 0},
      // The annotation bit lies inside the performed mask as well.
      {"annotation", 0x20000 | 0x10, "annotation", {2}, 0x20010, 0, 0, 0},
      {"container", 0x40000 | 0x20 | 0x80, "container", {9}, 0x20, 1, 0, 0},
      {"lexer state", 0x80000, "lexer state", {5, 3}, 0, 0, 0, 0},
      {"insert check", 0x100000 | 0x10, "insert check", {5, 3}, 0x10, 0, 0, 0},
      {"tab stops", 0x200000, "tab stops", {2}, 0, 0, 0, 0},
      {"insertion with deletion", 0x1 | 0x2 | 0x10, nullptr, {}, 0, 0, 0, 0},
      {"insertion with style", 0x1 | 0x4, nullptr, {}, 0, 0, 0, 0},
      {"flags without a kind", 0x10 | 0x100, nullptr, {}, 0, 0, 0, 0},
      {"kind without an event", 0x1 | 0x400000, nullptr, {}, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    rg_HuoHuaDaiMaBianJiKuang box;
    EventLog log;
    ListenToAll(box, log);
    box.OnScintillaNotification(Modification(c.type));
    if (!c.event) {
      EXPECT_TRUE(log.events.empty()) << log.events[0].name;
      continue;
    }
    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_EQ(log.events[0].name, c.event);
    std::vector<intptr_t> expected = c.leading;
    for (intptr_t flag : {c.performed, c.multiStep, c.lastStep, c.startAction}) expected.push_back(flag);
    EXPECT_EQ(log.events[0].numbers, expected);
  }
}

TEST(CodeEditEvents, ModificationTextsAreExactlyTheirLengthAndNullGivesEmpty) {
  rg_HuoHuaDaiMaBianJiKuang box;
  EventLog log;
  ListenToAll(box, log);
  box.OnScintillaNotification(Modification(0x1));  // 3 of 6 bytes
  QzuScintillaNotification deleted = Modification(0x2);
  deleted.text = nullptr;  // no undo history kept
  box.OnScintillaNotification(deleted);
  QzuScintillaNotification check = Modification(0x100000);
  check.length = 6;
  box.OnScintillaNotification(check);
  ASSERT_EQ(log.events.size(), 3u);
  EXPECT_EQ(log.events[0].texts, std::vector<CWString>{u"中"});
  EXPECT_EQ(log.events[1].texts, std::vector<CWString>{u""});
  EXPECT_EQ(log.events[2].texts, std::vector<CWString>{u"中文"});
}

TEST(CodeEditEvents, EveryOtherNotificationRaisesItsEventWithItsFields) {
  struct Case {
    int code;
    const char* event;  // null: nothing is raised
    std::vector<intptr_t> numbers;
  };
  // Fields: position 7, margin 1, modifiers 2, character 0x4E2D, line 3,
  // updated 4, message 2170, wParam 11, lParam 12, x 30, y 40, list type 6,
  // completion method 5.
  const Case cases[] = {
      {2010, "margin click", {7, 1, 2}},
      {2031, "margin right click", {7, 1, 2}},
      {2002, "save point reached", {}},
      {2003, "save point left", {}},
      {2004, "modify attempt read-only", {}},
      {2014, "user list selection", {6, 7, 0x4E2D, 5}},
      {2009, "macro record", {2170, 11, 12}},
      {2001, "char added", {0x4E2D}},
      {2006, "double click", {7, 3, 2}},
      {2007, "update ui", {4}},
      {2013, "painted", {}},
      {2016, "dwell start", {7, 30, 40}},
      {2017, "dwell end", {7, 30, 40}},
      {2018, "zoom", {}},
      {2019, "hotspot click", {7, 2}},
      {2020, "hotspot double click", {7, 2}},
      {2027, "hotspot release click", {7, 2}},
      {2023, "indicator click", {7, 2}},
      {2024, "indicator release", {7, 2}},
      {2021, "call tip click", {7}},
      {2025, "autoc cancelled", {}},
      {2026, "autoc char deleted", {}},
      {2030, "autoc completed", {7, 0x4E2D, 5}},
      {2032, "autoc selection change", {6, 7}},
      {2022, "autoc selection", {7, 0x4E2D, 5}},
      {2000, nullptr, {}},  // style needed
      {2005, nullptr, {}},  // key
      {2015, nullptr, {}},  // URI dropped
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    rg_HuoHuaDaiMaBianJiKuang box;  // no window: nothing is sent back
    EventLog log;
    ListenToAll(box, log);
    QzuScintillaNotification n;
    n.code = c.code;
    n.position = 7;
    n.margin = 1;
    n.modifiers = 2;
    n.ch = 0x4E2D;
    n.line = 3;
    n.updated = 4;
    n.message = 2170;
    n.wParam = 11;
    n.lParam = 12;
    n.x = 30;
    n.y = 40;
    n.listType = 6;
    n.listCompletionMethod = 5;
    n.text = "\xE6\xB1\x89\xE5\xAD\x97";  // 汉字, zero-terminated
    n.length = 1;                         // ignored for list texts
    box.OnScintillaNotification(n);
    if (!c.event) {
      EXPECT_TRUE(log.events.empty());
      continue;
    }
    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_EQ(log.events[0].name, c.event);
    EXPECT_EQ(log.events[0].numbers, c.numbers);
    const bool carriesText = c.code == 2014 || c.code == 2022 || c.code == 2030 || c.code == 2032;
    EXPECT_EQ(log.events[0].texts, carriesText ? std::vector<CWString>{u"汉字"} : std::vector<CWString>{});
  }
}

namespace {

class CodeEditOnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 400, 300), 1);
    ASSERT_EQ(box.Create(&form, 0, 0, 400, 300), 1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
    box.SetFocus();
    ListenToAll(box, log);
  }
  void TearDown() override { form.DestroyWindow(); }

  void Type(const QString& text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(box.GetWidget(), &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
    QApplication::sendEvent(box.GetWidget(), &release);
  }
  // The logged events without the ones painting and caret moves raise.
  std::vector<Event> EditEvents() const {
    std::vector<Event> out;
    for (const Event& e : log.events)
      if (e.name != "painted" && e.name != "update ui" && e.name != "save point left" && e.name != "save point reached")
        out.push_back(e);
    return out;
  }

  CQzuWinForm form;
  rg_HuoHuaDaiMaBianJiKuang box;
  EventLog log;
};

}  // namespace

TEST_F(CodeEditOnScreen, TypingOneChineseCharacterRaisesInsertThenCharAdded) {
  Type(QStringLiteral("中"));
  EXPECT_EQ(box.GetCodeEditText(), u"中");
  std::vector<std::string> names;
  for (const Event& e : EditEvents()) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{"insert check", "before insert", "inserted", "char added"}));
  const std::vector<Event> inserted = log.Named("inserted");
  ASSERT_EQ(inserted.size(), 1u);
  // position 0, 3 bytes, no line added, performed by the user
  EXPECT_EQ(inserted[0].numbers[0], 0);
  EXPECT_EQ(inserted[0].numbers[1], 3);
  EXPECT_EQ(inserted[0].numbers[2], 0);
  EXPECT_EQ(inserted[0].numbers[3] & 0x70, 0x10);
  EXPECT_EQ(inserted[0].texts, std::vector<CWString>{u"中"});
  ASSERT_EQ(log.Named("char added").size(), 1u);
  EXPECT_EQ(log.Named("char added")[0].numbers, std::vector<intptr_t>{0x4E2D});
}

TEST_F(CodeEditOnScreen, UndoRaisesDeletionsFlaggedAsUndoSteps) {
  Type(QStringLiteral("中"));
  Type(QStringLiteral("文"));
  log.events.clear();
  box.Send(kSciUndo);
  EXPECT_EQ(box.GetCodeEditText(), u"");
  const std::vector<Event> deleted = log.Named("deleted");
  ASSERT_EQ(deleted.size(), 2u);  // the two typed characters went into one undo action
  for (const Event& e : deleted) {
    EXPECT_EQ(e.numbers[1], 3);
    EXPECT_EQ(e.numbers[3] & 0x70, 0x20);  // performed: undo
    EXPECT_EQ(e.numbers[4], 1);            // multi-step
  }
  EXPECT_EQ(deleted[0].numbers[5], 0);  // last step only on the last one
  EXPECT_EQ(deleted[1].numbers[5], 1);
  EXPECT_EQ(deleted[0].texts[0] + deleted[1].texts[0], u"文中");
}

TEST_F(CodeEditOnScreen, ADeletionWithoutUndoHistoryCarriesNoText) {
  box.SetCodeEditText(u"中文");
  box.Send(kSciSetUndoCollection, 0);
  log.events.clear();
  box.SetCodeEditText(u"");
  const std::vector<Event> deleted = log.Named("deleted");
  ASSERT_EQ(deleted.size(), 1u);
  EXPECT_EQ(deleted[0].numbers[1], 6);
  EXPECT_EQ(deleted[0].texts, std::vector<CWString>{u""});
}

TEST_F(CodeEditOnScreen, ANonZeroResultOfTheSelectionEventClosesTheListUnused) {
  const char* kList = "abc abd";
  for (intptr_t veto : {1, 0}) {
    SCOPED_TRACE(veto);
    box.SetCodeEditText(u"");
    log.events.clear();
    log.result = veto;
    box.Send(kSciAutoCShow, 0, reinterpret_cast<intptr_t>(kList));
    ASSERT_EQ(box.Send(kSciAutoCActive), 1);
    box.Send(kSciAutoCComplete);
    log.result = 0;
    const std::vector<Event> chosen = log.Named("autoc selection");
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0].texts, std::vector<CWString>{u"abc"});
    EXPECT_EQ(box.Send(kSciAutoCActive), 0);
    EXPECT_EQ(box.GetCodeEditText(), veto ? u"" : u"abc");
    EXPECT_EQ(box.Send(kSciGetLength), veto ? 0 : 3);
  }
}
