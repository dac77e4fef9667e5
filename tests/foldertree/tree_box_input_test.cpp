// The tree box's input through QTest on its display painter: a table of
// presses, keys and double clicks with the events they raise (expand, check,
// select, the vetoes, Up and Down with wrapping, Alt and Ctrl with the
// arrows), then the wheel, hovering, the slow-click rename with its timing
// and its single commit, F2, scrolling during a rename, a drop of three
// files, the keyboard-move lock and the settle timer of a resize.
#include <gtest/gtest.h>

#include <QLineEdit>

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWheelEvent>

#include <functional>

#include "platform/hooks.h"
#include "tree_box_test_util.h"

namespace {

using namespace qzu_test;

// 0 文档 (collapsed, child 1 子), 2 图片 (expanded: 3 甲, 4 乙), 5 音乐:
// shown lines 0, 2, 3, 4, 5.
void AddRows(TreeBoxModel& m) {
  m.AppendTreeRow(u"文档", -1, 0, 0, 0);
  m.AppendTreeRow(u"子", -1, 0, 0, 1);
  m.AppendTreeRow(u"图片", -1, 0, 2, 0);
  m.AppendTreeRow(u"甲", -1, 0, 0, 1);
  m.AppendTreeRow(u"乙", -1, 0, 0, 1);
  m.AppendTreeRow(u"音乐", -1, 0, 0, 0);
}

int Expand(rg_TavelkinShuXingKuang& box, int row) {
  TreeRowLocator l;
  return box.Model().GetRowExpandState(row, l);
}
int Check(rg_TavelkinShuXingKuang& box, int row) {
  TreeRowLocator l;
  return box.Model().GetRowCheckState(row, l);
}

class TreeBoxInput : public ::testing::Test {
 public:
  void SetUp() override {
    t.box.checkBoxes = 1;
    AddRows(t.Model());
    t.Create(300, 220);
    ConnectAll(t.box, log);
    t.form.GetWidget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(t.form.GetWidget()));
    log.Clear();
  }
  QPoint ExpandBox(int line) {
    return QPoint(t.box.lineExpandX[static_cast<size_t>(line)] + t.box.boxSize / 2 + t.box.canvasX,
                  t.BoxY(line) + t.box.boxSize / 2);
  }
  QPoint CheckBox(int line) {
    return QPoint(t.box.lineCheckX[static_cast<size_t>(line)] + t.box.boxSize / 2 + t.box.canvasX,
                  t.BoxY(line) + t.box.boxSize / 2);
  }
  void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(t.Display(), button, Qt::NoModifier, at);
  }
  // As the system delivers one: press, release, then the double click and
  // its release.
  void DoubleClick(QPoint at) {
    QTest::mouseClick(t.Display(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(t.Display(), Qt::LeftButton, Qt::NoModifier, at);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(t.Display(), key, modifiers);
  }

  ShownTree t{300, 220};
  EventLog log;
};

struct InputCase {
  const char* name;
  std::function<void(TreeBoxInput&)> setUp;
  std::function<void(TreeBoxInput&)> act;
  std::vector<std::string> events;
  std::function<void(TreeBoxInput&)> check;
};

using V = std::vector<std::string>;
const int kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;

const InputCase kCases[] = {
    {"ExpandBoxTogglesTheRow", nullptr, [](TreeBoxInput& f) { f.Click(f.ExpandBox(0)); },
     V{"before-expand 0", "toggled 0"},
     [](TreeBoxInput& f) {
       EXPECT_EQ(Expand(f.t.box, 0), 2);
       EXPECT_EQ(f.t.box.lineRows.Items(), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
     }},
    {"ExpandVetoedChangesNothing", [](TreeBoxInput& f) { f.log.veto = 1; },
     [](TreeBoxInput& f) { f.Click(f.ExpandBox(0)); }, V{"before-expand 0"},
     [](TreeBoxInput& f) { EXPECT_EQ(Expand(f.t.box, 0), 0); }},
    {"CheckBoxCycles", nullptr, [](TreeBoxInput& f) { f.Click(f.CheckBox(1)); },
     V{"before-check 2", "check-changed 2"}, [](TreeBoxInput& f) { EXPECT_EQ(Check(f.t.box, 2), 1); }},
    {"CheckVetoedChangesNothing", [](TreeBoxInput& f) { f.log.veto = 1; },
     [](TreeBoxInput& f) { f.Click(f.CheckBox(1)); }, V{"before-check 2"},
     [](TreeBoxInput& f) { EXPECT_EQ(Check(f.t.box, 2), 0); }},
    {"AFixedCheckByteHasNoCheckBox",
     [](TreeBoxInput& f) {
       TreeRowLocator l;
       f.t.Model().SetRowCheckState(2, 3, 0, l, 0);
     },
     [](TreeBoxInput& f) { f.Click(f.CheckBox(0) + QPoint(0, f.t.LineY(1) - f.t.LineY(0))); }, V{"clicked -1"},
     [](TreeBoxInput& f) { EXPECT_EQ(Check(f.t.box, 2), 3); }},
    {"LeftPressOnTextSelects", nullptr, [](TreeBoxInput& f) { f.Click(f.t.OnText(2)); },
     V{"chosen 3 1 0", "clicked 3"}, [](TreeBoxInput& f) { EXPECT_EQ(f.t.Model().SelectedRowValue(), 3); }},
    {"RightPressOnTextSelectsAndRightClicks", nullptr,
     [](TreeBoxInput& f) { f.Click(f.t.OnText(2), Qt::RightButton); }, V{"chosen 3 3 0", "right-clicked"},
     [](TreeBoxInput& f) { EXPECT_EQ(f.t.Model().SelectedRowValue(), 3); }},
    {"RightPressOnAnExpandBoxIsEmptySpace", nullptr,
     [](TreeBoxInput& f) { f.Click(f.ExpandBox(0), Qt::RightButton); }, V{"clicked -1"},
     [](TreeBoxInput& f) { EXPECT_EQ(Expand(f.t.box, 0), 0); }},
    {"PressOnNothing", [](TreeBoxInput& f) { f.t.Model().SetSelectedRowValue(3); },
     [](TreeBoxInput& f) { f.Click(QPoint(250, f.t.LineY(0) + 3)); }, V{"clicked -1"},
     [](TreeBoxInput& f) { EXPECT_EQ(f.t.Model().SelectedRowValue(), 3); }},
    {"PressOnNothingClearsWhenAsked",
     [](TreeBoxInput& f) {
       f.t.Model().SetSelectedRowValue(3);
       f.t.box.clearSelectionOnEmptyPress = 1;
     },
     [](TreeBoxInput& f) { f.Click(QPoint(250, f.t.LineY(0) + 3)); }, V{"clicked -1", "chosen -1 1 0"},
     [](TreeBoxInput& f) { EXPECT_EQ(f.t.Model().SelectedRowValue(), -1); }},
    {"ThePressBelowTheTopEdgeIsLineZero", nullptr,
     [](TreeBoxInput& f) { f.Click(QPoint(f.t.OnText(0).x(), 2)); }, V{"chosen 0 1 0", "clicked 0"}, nullptr},
    {"TheSameRowAgainIsNotReported", [](TreeBoxInput& f) { f.t.Model().SetSelectedRowValue(3); },
     [](TreeBoxInput& f) { f.Click(f.t.OnText(2)); }, V{"clicked 3"}, nullptr},
    {"TheSameRowAgainIsReportedWhenAsked",
     [](TreeBoxInput& f) {
       f.t.Model().SetSelectedRowValue(3);
       f.t.box.reReportSameRow = 1;
     },
     [](TreeBoxInput& f) { f.Click(f.t.OnText(2)); }, V{"chosen 3 1 1", "clicked 3"}, nullptr},
    {"DoubleClickOnTextToggles", nullptr,
     [](TreeBoxInput& f) { f.DoubleClick(f.t.OnText(0)); },
     V{"chosen 0 1 0", "clicked 0", "before-expand 0"}, [](TreeBoxInput& f) { EXPECT_EQ(Expand(f.t.box, 0), 2); }},
    {"DoubleClickVetoed", [](TreeBoxInput& f) { f.log.veto = 1; },
     [](TreeBoxInput& f) { f.DoubleClick(f.t.OnText(0)); },
     V{"chosen 0 1 0", "clicked 0", "before-expand 0"}, [](TreeBoxInput& f) { EXPECT_EQ(Expand(f.t.box, 0), 0); }},
    {"DownWithoutASelectionTakesTheSecondLine", nullptr, [](TreeBoxInput& f) { f.Key(Qt::Key_Down); },
     V{"chosen 2 2 0", "key 40 0"}, [](TreeBoxInput& f) { EXPECT_EQ(f.t.Model().SelectedRowValue(), 2); }},
    {"UpWithoutASelectionTakesTheLastLine", nullptr, [](TreeBoxInput& f) { f.Key(Qt::Key_Up); },
     V{"chosen 5 2 0", "key 38 0"}, nullptr},
    {"DownOnTheLastLineWrapsToTheFirst", [](TreeBoxInput& f) { f.t.Model().SetSelectedRowValue(5); },
     [](TreeBoxInput& f) { f.Key(Qt::Key_Down); }, V{"chosen 0 2 0", "key 40 0"}, nullptr},
    {"UpOnTheFirstLineWrapsToTheLast", [](TreeBoxInput& f) { f.t.Model().SetSelectedRowValue(0); },
     [](TreeBoxInput& f) { f.Key(Qt::Key_Up); }, V{"chosen 5 2 0", "key 38 0"}, nullptr},
    {"RightExpandsTheSelectedRow", [](TreeBoxInput& f) { f.t.Model().SetSelectedRowValue(0); },
     [](TreeBoxInput& f) { f.Key(Qt::Key_Right); }, V{"before-expand 0", "key 39 0"},
     [](TreeBoxInput& f) {
       EXPECT_EQ(Expand(f.t.box, 0), 2);
       EXPECT_EQ(f.t.Model().GetVisibleRowCount(), 6);
       EXPECT_EQ(f.t.box.lineRows.GetCount(), 6);
     }},
    {"LeftKeepsTheBoldBit",
     [](TreeBoxInput& f) {
       TreeRowLocator l;
       f.t.Model().SetRowFields(2, nullptr, 3, -1, l, 0);
       f.t.Model().SetSelectedRowValue(2);
     },
     [](TreeBoxInput& f) { f.Key(Qt::Key_Left); }, V{"before-expand 2", "key 37 0"},
     [](TreeBoxInput& f) {
       EXPECT_EQ(Expand(f.t.box, 2), 1);
       EXPECT_EQ(f.t.box.lineRows.Items(), (std::vector<int32_t>{0, 2, 5}));
     }},
    {"LeftVetoed",
     [](TreeBoxInput& f) {
       f.t.Model().SetSelectedRowValue(2);
       f.log.veto = 1;
     },
     [](TreeBoxInput& f) { f.Key(Qt::Key_Left); }, V{"before-expand 2", "key 37 0"},
     [](TreeBoxInput& f) { EXPECT_EQ(Expand(f.t.box, 2), 2); }},
    // The modifier's own key down comes first, as with every key.
    {"CtrlRightExpandsLikeRight", [](TreeBoxInput& f) { f.t.Model().SetSelectedRowValue(0); },
     [](TreeBoxInput& f) { f.Key(Qt::Key_Right, Qt::ControlModifier); }, V{"key 17 8192", "before-expand 0", "key 39 8192"},
     [](TreeBoxInput& f) { EXPECT_EQ(Expand(f.t.box, 0), 2); }},
    {"AltRightWithoutAHorizontalBarDoesNothing", [](TreeBoxInput& f) { f.t.Model().SetSelectedRowValue(0); },
     [](TreeBoxInput& f) { f.Key(Qt::Key_Right, Qt::AltModifier); }, V{"key 18 16384", "key 39 16384"},
     [](TreeBoxInput& f) { EXPECT_EQ(Expand(f.t.box, 0), 0); }},
};

class TreeBoxInputTable : public TreeBoxInput, public ::testing::WithParamInterface<InputCase> {};

}  // namespace

TEST_P(TreeBoxInputTable, RaisesItsEvents) {
  const InputCase& c = GetParam();
  if (c.setUp) c.setUp(*this);
  t.box.PaintTreeBox(-1);
  log.Clear();
  c.act(*this);
  EXPECT_EQ(log.events, c.events);
  if (c.check) c.check(*this);
}

INSTANTIATE_TEST_SUITE_P(Inputs, TreeBoxInputTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TreeBoxInput, TheWheelScrollsOnlyWithAVerticalBar) {
  auto wheel = [&](int angle) {
    QWheelEvent e(QPointF(50, 50), t.Display()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, angle),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(t.Display(), &e);
  };
  wheel(-120);
  EXPECT_EQ(t.box.firstVisibleRow, 0);
  EXPECT_EQ(t.box.VerticalBar().GetScrollBarPosition(), 1);
  for (int i = 0; i < 30; ++i) t.Model().AppendTreeRow(CWString::FromInt(i), -1, 0, 0, 0);
  t.box.PaintTreeBox(-1);
  ASSERT_EQ(t.box.verticalScrollShown, 1);
  wheel(-240);  // two notches toward the user: two lines down
  EXPECT_EQ(t.box.VerticalBar().GetScrollBarPosition(), 3);
  EXPECT_EQ(t.box.firstVisibleRow, 3);  // the third shown line's row
  wheel(120);
  EXPECT_EQ(t.box.firstVisibleRow, 2);
}

TEST_F(TreeBoxInput, HoverReportsEachNewRowOnceAndSetsTheTip) {
  t.box.hoverUnderline = 1;
  const int paints = t.box.GetPaintCount();
  QTest::mouseMove(t.Display(), t.OnText(2));
  QTest::mouseMove(t.Display(), t.OnText(2) + QPoint(1, 0));
  EXPECT_EQ(log.events, V{"hover 3"});
  EXPECT_EQ(t.box.hoverRow, 3);
  EXPECT_GT(t.box.GetPaintCount(), paints);  // underlined
  QTest::mouseMove(t.Display(), QPoint(280, t.LineY(2) + 2));
  EXPECT_EQ(t.box.hoverRow, -1);
  EXPECT_EQ(t.box.lastReportedHoverRow, -1);
  QTest::mouseMove(t.Display(), t.OnText(2));
  EXPECT_EQ(log.events, (V{"hover 3", "hover 3"}));
}

// A slow second click on the selected row's text opens the field 200 ms
// after the release, over the text; Enter commits once.
TEST_F(TreeBoxInput, ASlowSecondClickRenamesAndEnterCommitsOnce) {
  t.box.renameOnSlowClick = 1;
  Click(t.OnText(2));
  log.Clear();
  Click(t.OnText(2));
  EXPECT_EQ(log.events, V{"clicked 3"});
  EXPECT_EQ(t.box.renamePending, 1);
  qzu_test::PumpFor(100);
  EXPECT_FALSE(t.box.RenameField().IsVisible());  // not before 200 ms
  ASSERT_TRUE(qzu_test::PumpUntil([&] { return t.box.RenameField().IsVisible(); }));
  EXPECT_EQ(log.events, (V{"clicked 3", "before-rename 3 甲"}));
  rg_Ombrine_MFCJieMian_base::rg_edit_box& field = t.box.RenameField();
  EXPECT_EQ(field.GetText(), u"甲");
  EXPECT_EQ(field.GetTextMember(), u"甲");
  const int start = t.box.lineTextStart[2], end = t.box.lineTextEnd[2];
  EXPECT_EQ(field.GetLeft(), start + t.box.iconSize + t.box.margin - 1);
  EXPECT_EQ(field.GetTop(), t.LineY(2));
  EXPECT_EQ(field.GetWidth(), std::max(end - start - t.box.margin + 6, 3 * t.box.textHeight));
  EXPECT_EQ(field.GetHeight(), t.box.rowHeight);
  EXPECT_TRUE(field.HasFocus());
  int selStart = -1, selEnd = -1;
  field.GetSel(selStart, selEnd);
  EXPECT_EQ(selStart, 0);
  EXPECT_EQ(selEnd, 1);

  QTest::keyClicks(field.GetWidget(), "New");
  QTest::keyClick(field.GetWidget(), Qt::Key_Return);
  qzu_test::PumpFor(20);
  EXPECT_EQ(log.Count("committed"), 1);
  EXPECT_EQ(log.events.back(), "committed 3 甲 -> New");
  EXPECT_FALSE(field.IsVisible());
  TreeRowLocator l;
  EXPECT_EQ(t.Model().GetRowText(3, l), u"New");
}

TEST_F(TreeBoxInput, ADoubleClickOnTheSelectedRowTogglesInsteadOfRenaming) {
  t.box.renameOnSlowClick = 1;
  t.Model().SetSelectedRowValue(2);
  t.box.PaintTreeBox(-1);
  DoubleClick(t.OnText(1));
  qzu_test::PumpFor(300);
  EXPECT_FALSE(t.box.RenameField().IsVisible());
  EXPECT_EQ(log.Count("before-rename"), 0);
  EXPECT_EQ(Expand(t.box, 2), 0);
}

TEST_F(TreeBoxInput, F2RenamesWithTheHandlersTextAndItsVerdict) {
  t.Model().SetSelectedRowValue(5);
  t.box.PaintTreeBox(-1);
  // Vetoed: no field.
  log.veto = 1;
  Key(Qt::Key_F2);
  EXPECT_FALSE(t.box.RenameField().IsVisible());
  EXPECT_EQ(log.events, (V{"before-rename 5 音乐", "key 113 0"}));
  // The handler's text is shown; committed unchanged, the row still gets it
  // and the event is still raised.
  log.veto = 0;
  log.renameText = u"音乐库";
  log.Clear();
  Key(Qt::Key_F2);
  ASSERT_TRUE(t.box.RenameField().IsVisible());
  EXPECT_EQ(t.box.RenameField().GetText(), u"音乐库");
  QTest::keyClick(t.box.RenameField().GetWidget(), Qt::Key_Return);
  EXPECT_EQ(log.events, (V{"before-rename 5 音乐", "key 113 0", "committed 5 音乐库 -> 音乐库"}));
  TreeRowLocator l;
  EXPECT_EQ(t.Model().GetRowText(5, l = {}), u"音乐库");
  // A handler that returns non-zero keeps the row's text.
  log.renameText = CWString();
  log.renameResult = 1;
  Key(Qt::Key_F2);
  ASSERT_TRUE(t.box.RenameField().IsVisible());
  QTest::keyClicks(t.box.RenameField().GetWidget(), "x");
  QTest::keyClick(t.box.RenameField().GetWidget(), Qt::Key_Return);
  EXPECT_EQ(log.events.back(), "committed 5 音乐库 -> x");
  EXPECT_EQ(t.Model().GetRowText(5, l = {}), u"音乐库");
}

// The field opens wide enough for the whole name: its first character stays
// at the field's left edge, for short and longer names alike.
TEST_F(TreeBoxInput, TheRenameFieldShowsTheWholeName) {
  for (const char16_t* name : {u"新文件夹", u"新建文件夹", u"Folder", u"一二三四五六七八九十"}) {
    const int row = t.Model().GetRowCount();
    t.Model().AppendTreeRow(name, -1, 0, 0, 0);
    t.Model().SetSelectedRowValue(row);
    t.box.PaintTreeBox(-1);
    ASSERT_EQ(t.box.BeginRowRename(row, rg_TavelkinMingLingJi_ChuangKouZuJian::kRenameFromKeyboard), 1);
    auto* line = qobject_cast<QLineEdit*>(t.box.RenameField().GetWidget());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), QString::fromUtf16(name));
    // With the caret at the end, the caret stands the whole name's width
    // from the text area's left edge: nothing was scrolled out (a field too
    // narrow scrolls the text left to keep the caret in view).
    line->grab();  // the field scrolls its text as it paints
    const QRect area = line->contentsRect().marginsRemoved(line->textMargins());
    const int caretLeft = line->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
    EXPECT_GE(caretLeft - area.left(), line->fontMetrics().horizontalAdvance(line->text()) - 4)
        << CWString(name).ToUtf8();
    QTest::keyClick(line, Qt::Key_Return);
  }
}

// Scrolling while the field is open takes the focus to the display painter,
// and the field's focus loss commits.
TEST_F(TreeBoxInput, ScrollingCommitsAnOpenRename) {
  for (int i = 0; i < 30; ++i) t.Model().AppendTreeRow(CWString::FromInt(i), -1, 0, 0, 0);
  t.Model().SetSelectedRowValue(3);
  t.box.PaintTreeBox(-1);
  ASSERT_EQ(t.box.BeginRowRename(3, rg_TavelkinMingLingJi_ChuangKouZuJian::kRenameFromKeyboard), 1);
  ASSERT_TRUE(t.box.RenameField().HasFocus());
  QTest::keyClicks(t.box.RenameField().GetWidget(), "Z");
  t.box.VerticalBar().SetScrollBarPosition(4);
  ASSERT_TRUE(qzu_test::PumpUntil([&] { return log.Count("committed") == 1; }));
  EXPECT_FALSE(t.box.RenameField().IsVisible());
  EXPECT_EQ(log.events.back(), "committed 3 甲 -> Z");
  qzu_test::PumpFor(20);
  EXPECT_EQ(log.Count("committed"), 1);
}

// The keyboard-move lock: an Up or Down that arrives while the row chosen
// handler of the previous one runs is refused, without a key event.
TEST_F(TreeBoxInput, AMoveDuringAMoveIsRefused) {
  struct Nested : CQzuObject {
    rg_TavelkinShuXingKuang* box = nullptr;
    int chosen = 0;
    CQzuReceiverRef ref = CQzuReceiverRef::Make(this);
    ~Nested() override { ref->Detach(); }
  } nested;
  nested.box = &t.box;
  t.box.OnRowChosen.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int, int, int) -> intptr_t {
    auto* n = static_cast<Nested*>(r);
    if (++n->chosen == 1) n->box->HandleTreeBoxKey(kDown, 0);
    return 0;
  }, nested.ref);
  Key(Qt::Key_Down);
  EXPECT_EQ(nested.chosen, 1);
  EXPECT_EQ(t.Model().SelectedRowValue(), 2);
  EXPECT_EQ(log.events, V{"key 40 0"});
  EXPECT_EQ(t.box.keyboardMoveFlag, 1);
  Key(Qt::Key_Down);  // free again
  EXPECT_EQ(t.Model().SelectedRowValue(), 3);
}

TEST_F(TreeBoxInput, ADropOfThreeFilesIsReportedOnceInOrder) {
  t.box.fileDrop.EnableFileDrop(t.box.Display());
  auto drop = [&](std::vector<const char*> paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const char* p : paths) urls.append(QUrl::fromLocalFile(QString::fromUtf8(p)));
    mime.setUrls(urls);
    const QPoint pos(20, 20);
    QDragEnterEvent enter(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(t.Display(), &enter);
    QDropEvent dropped(QPointF(pos), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(t.Display(), &dropped);
  };
  drop({"/data/一.txt", "/data/二", "/data/三.htm"});
  EXPECT_EQ(log.events, V{"dropped /data/一.txt /data/二 /data/三.htm"});
  drop({"/x/y.doc"});
  EXPECT_EQ(log.events.back(), "dropped /x/y.doc");
  EXPECT_EQ(log.Count("dropped"), 2);
}

// Dragging a window edge: the paint waits until the left button is up, then
// comes at the settle timer's next tick.
TEST_F(TreeBoxInput, AResizeWithTheButtonHeldPaintsAfterTheRelease) {
  struct Button : IPlatformHooks {
    bool down = false;
    int16_t AsyncKeyState(int vk) override { return vk == 1 && down ? static_cast<int16_t>(0x8000) : 0; }
  } button;
  IPlatformHooks* previous = InstallPlatformHooks(&button);
  button.down = true;
  const int paints = t.box.GetPaintCount();
  t.box.Move(0, 0, 260, 200);
  qzu_test::PumpFor(120);
  EXPECT_EQ(t.box.GetPaintCount(), paints);
  EXPECT_EQ(t.box.SettleTimer().GetInterval(), 50);
  EXPECT_EQ(t.box.Canvas().GetWidth(), 260);
  button.down = false;
  EXPECT_TRUE(qzu_test::PumpUntil([&] { return t.box.GetPaintCount() > paints; }, 1000));
  EXPECT_EQ(t.box.SettleTimer().GetInterval(), 0);
  InstallPlatformHooks(previous);
}

TEST_F(TreeBoxInput, HidingRaisesTheHiddenEventAndStopsPainting) {
  t.box.SetVisible(false);
  EXPECT_EQ(log.events, V{"hidden"});
  EXPECT_EQ(t.box.shown, 0);
  const int paints = t.box.GetPaintCount();
  t.box.PaintTreeBox(-1);
  EXPECT_EQ(t.box.GetPaintCount(), paints);
  t.box.SetVisible(true);
  EXPECT_EQ(t.box.shown, 1);
  EXPECT_GT(t.box.GetPaintCount(), paints);
}

// Selecting a row below the screen (the model's SelectTreeRow, as the Down
// key and the folder tree do) opens its collapsed ancestors and scrolls it
// onto the last whole line; a row already on screen only repaints.
TEST_F(TreeBoxInput, SelectingARowBelowTheScreenBringsItToTheLastLine) {
  TreeBoxModel& m = t.Model();
  m.AppendTreeRow(u"外层", -1, 0, 0, 0);
  m.AppendTreeRow(u"内层", -1, 0, 0, 1);
  const int deep = m.GetRowCount();
  for (int i = 0; i < 40; ++i) m.AppendTreeRow(CWString::FromInt(i), -1, 0, 0, 2);
  t.box.PaintTreeBox(-1);
  const int target = deep + 30;
  log.Clear();
  m.SelectTreeRow(target);
  EXPECT_EQ(log.events, V{"chosen " + N(target) + " 0 0"});
  EXPECT_EQ(Expand(t.box, deep - 2), 2);
  EXPECT_EQ(Expand(t.box, deep - 1), 2);
  const int whole = t.box.GetClientHeight() / (t.box.rowGap + t.box.rowHeight);
  ASSERT_GT(t.box.lineRows.GetCount(), whole - 1);
  EXPECT_EQ(t.box.lineRows[static_cast<size_t>(whole - 1)], target);
  const int first = t.box.firstVisibleRow;
  m.SelectTreeRow(target - 2);
  EXPECT_EQ(t.box.firstVisibleRow, first);
}

// The window going away tells the pool to let its threads go.
TEST_F(TreeBoxInput, DestroyingTheWindowLetsThePoolThreadsGo) {
  t.box.poolMode = 1;
  t.Model().AppendTreeRow(u"新", -1, 0, 0, 0);
  t.box.PaintTreeBox(-1);
  ASSERT_EQ(t.box.threadPool.GetTargetCount(), 4);
  t.box.DestroyWindow();
  EXPECT_EQ(t.box.threadPool.GetTargetCount(), 0);
}
