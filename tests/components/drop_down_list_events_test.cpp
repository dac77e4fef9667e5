// The drop-down list driven through QTest offscreen: opening and closing by
// clicks, the two vetoes, hover, the wheel with wrap, the outside-press watch,
// focus loss, the URL option with a stub shell, paste, typing in the field,
// locating on open, the colour notice, a list in a nested panel opening in
// the host window near its bottom, redraw requests made during a paint, and
// the item, value and object operations of a list with a window.
#include "drop_down_test_util.h"

#include "framework/win_container.h"

using namespace rg_TavelkinMingLingJi_ChuangKouZuJian;
using qzu_test::DropDownTest;
using qzu_test::PumpFor;
using qzu_test::PumpUntil;
using Events = std::vector<std::string>;

namespace {

CWString Rows(int count) {
  CWString text;
  for (int i = 0; i < count; ++i) text += (i ? u"\r\n行" : u"行") + CWString::FromInt(i);
  return text;
}

}  // namespace

TEST_F(DropDownTest, AClickOpensAndAClickOnARowChoosesIt) {
  rg_TavelkinZuGeKuang1 list;
  Make(list, form, 20, 20, 200, u"甲\r\n[-]\r\n乙");
  ClickText(list);
  ASSERT_EQ(list.open, 1);
  EXPECT_EQ(log.events, (Events{"field click", "opening"}));
  EXPECT_TRUE(list.Display().HasFocus());

  MoveTo(list, 40, RowY(list, 2));
  EXPECT_EQ(list.hotRow, 2);
  EXPECT_EQ(log.moves, (std::vector<int>{40, RowY(list, 2), 0}));
  Click(list, 40, RowY(list, 2));
  EXPECT_EQ(list.open, 0);
  EXPECT_EQ(list.GetDropDownIndex(), 2);
  EXPECT_EQ(list.GetDropDownValue(), CWString(u"乙"));
  EXPECT_EQ(list.GetHeight(), list.fieldHeight);
  EXPECT_EQ(log.events, (Events{"field click", "opening", "item chosen"}));

  // The separator row and the room below the rows choose nothing, but close.
  for (int y : {RowY(list, 1), RowY(list, 3) + 20}) {
    log.events.clear();
    ClickHandle(list);
    ASSERT_EQ(list.open, 1);
    Click(list, 40, y);
    EXPECT_EQ(list.open, 0);
    EXPECT_EQ(list.GetHeight(), list.fieldHeight);
    EXPECT_EQ(list.GetDropDownIndex(), 2);
    EXPECT_EQ(log.events, (Events{"opening"}));
  }
}

TEST_F(DropDownTest, TheFieldClickAndOpeningVetoes) {
  struct Row {
    const char* name;
    intptr_t fieldClickResult, openingResult;
    bool onHandle;
    int32_t open;
    Events events;
  };
  const Row rows[] = {
      {"field click 1 keeps it closed", 1, 0, false, 0, {"field click"}},
      {"field click 2 does not", 2, 0, false, 1, {"field click", "opening"}},
      {"the handle is not the field", 1, 0, true, 1, {"opening"}},
      {"any non-zero opening result", 0, 5, true, 0, {"opening"}},
      {"a negative one too", 0, -1, false, 0, {"field click", "opening"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    rg_TavelkinZuGeKuang1 list;
    Make(list, form, 20, 20, 200, u"甲\r\n乙");
    log.events.clear();
    log.fieldClickResult = row.fieldClickResult;
    log.openingResult = row.openingResult;
    if (row.onHandle) ClickHandle(list);
    else ClickText(list);
    EXPECT_EQ(list.open, row.open);
    EXPECT_EQ(log.events, row.events);
    EXPECT_EQ(list.GetHeight(), row.open ? list.fieldHeight + list.listHeight : list.fieldHeight);
    list.DestroyWindow();
  }
  // A vetoed opening is asked again at the next click.
  rg_TavelkinZuGeKuang1 list;
  Make(list, form, 20, 20, 200, u"甲\r\n乙");
  log.events.clear();
  log.fieldClickResult = 0;
  log.openingResult = 1;
  ClickHandle(list);
  log.openingResult = 0;
  ClickHandle(list);
  EXPECT_EQ(list.open, 1);
  EXPECT_EQ(log.events, (Events{"opening", "opening"}));
}

TEST_F(DropDownTest, TheWheelOverTheClosedFieldStepsWithWrap) {
  rg_TavelkinZuGeKuang1 list;
  Make(list, form, 20, 20, 200, u"甲\r\n乙\r\n丙");
  list.SelectDropDownItem(0);
  Wheel(list, 120);  // the pointer is not over the list: nothing
  EXPECT_EQ(list.GetDropDownIndex(), 0);
  MoveTo(list, 30, 10);
  ASSERT_EQ(list.hover, 1);
  std::vector<int32_t> seen;
  for (int angle : {120, -120, -120, -120, 120}) {
    Wheel(list, angle);
    seen.push_back(list.GetDropDownIndex());
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{2, 0, 1, 2, 1}));
  EXPECT_EQ(log.Count("item chosen"), 5);
  EXPECT_EQ(list.EditField().GetText(), CWString(u"乙"));
  // Without a current item a turn away from the user takes the last.
  list.SelectDropDownItem(-1);
  Wheel(list, 120);
  EXPECT_EQ(list.GetDropDownIndex(), 2);
  // An empty list ignores the wheel.
  list.SetDropDownItemsText(CWString());
  log.events.clear();
  Wheel(list, 120);
  Wheel(list, -120);
  EXPECT_EQ(list.GetDropDownIndex(), -1);
  EXPECT_TRUE(log.events.empty());
}

TEST_F(DropDownTest, TheWheelOverAnOpenLongListScrollsIt) {
  rg_TavelkinZuGeKuang1 list;
  Make(list, form, 20, 20, 200, Rows(30));
  list.SelectDropDownItem(0);
  ClickText(list);
  ASSERT_TRUE(list.ScrollBar().IsVisible());
  log.events.clear();
  Wheel(list, -120, 40, RowY(list, 3));
  EXPECT_EQ(list.ScrollBar().GetScrollBarPosition(), 2);
  EXPECT_EQ(list.firstVisibleRow, 1);
  Wheel(list, -120, 40, RowY(list, 3));
  EXPECT_EQ(list.firstVisibleRow, 2);
  // Over the bar itself the bar moves, once.
  rg_TavelkinGunDongTiao1& bar = list.ScrollBar();
  Wheel(list, -120, bar.GetLeft() + 3, bar.GetTop() + bar.GetHeight() / 2);
  EXPECT_EQ(list.firstVisibleRow, 3);
  Wheel(list, 120, 40, RowY(list, 3));
  EXPECT_EQ(list.firstVisibleRow, 2);
  EXPECT_EQ(list.GetDropDownIndex(), 0);
  EXPECT_TRUE(log.events.empty());
  // The rows follow: the hot row counts from the first visible one.
  MoveTo(list, 40, RowY(list, 0));
  EXPECT_EQ(list.hotRow, 2);
}

TEST_F(DropDownTest, APressOutsideClosesTheListOnceThePointerLeftButNotOneOnItsScrollBar) {
  rg_TavelkinZuGeKuang1 list;
  Make(list, form, 20, 20, 200, Rows(30));
  ClickText(list);
  ASSERT_EQ(list.open, 1);
  EXPECT_EQ(list.WatchTimer().GetInterval(), 0);  // the pointer is still over it
  Leave(list);
  EXPECT_EQ(list.WatchTimer().GetInterval(), kOutsidePressWatchMilliseconds);
  EXPECT_EQ(list.hotRow, -1);

  // A press on the list's scroll bar keeps it open.
  QWidget* barDisplay = list.ScrollBar().Display().GetWidget();
  desktop.leftDown = true;
  QTest::mousePress(barDisplay, Qt::LeftButton, Qt::NoModifier, QPoint(5, 60));
  EXPECT_EQ(list.buttonHeld, 1);
  PumpFor(150);
  EXPECT_EQ(list.open, 1);
  desktop.leftDown = false;
  QTest::mouseRelease(barDisplay, Qt::LeftButton, Qt::NoModifier, QPoint(5, 60));
  EXPECT_EQ(list.buttonHeld, 0);

  // A press anywhere else closes it, choosing nothing.
  log.events.clear();
  desktop.leftDown = true;
  ASSERT_TRUE(PumpUntil([&] { return list.open == 0; }, 1000));
  desktop.leftDown = false;
  EXPECT_EQ(list.WatchTimer().GetInterval(), 0);
  EXPECT_EQ(list.GetHeight(), list.fieldHeight);
  EXPECT_EQ(list.GetDropDownIndex(), -1);
  EXPECT_TRUE(log.events.empty());
}

TEST_F(DropDownTest, LosingTheFocusClosesWithoutChoosing) {
  rg_TavelkinZuGeKuang1 list;
  Make(list, form, 20, 20, 200, u"甲\r\n乙\r\n丙");
  list.SelectDropDownItem(0);
  ClickText(list);
  ASSERT_EQ(list.open, 1);
  MoveTo(list, 40, RowY(list, 2));
  log.events.clear();
  elsewhere.SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return list.open == 0; }));
  EXPECT_EQ(list.listFocused, 0);
  EXPECT_EQ(list.GetHeight(), list.fieldHeight);
  EXPECT_EQ(list.GetDropDownIndex(), 0);
  EXPECT_TRUE(log.events.empty());
}

TEST_F(DropDownTest, ARightClickOpensTheCurrentItemsAddress) {
  rg_TavelkinZuGeKuang1 list;
  list.urlOption = kUrlOptionAddWww;
  Make(list, form, 20, 20, 200, u"首页 example.com\r\n文档 HTTP://Docs.example.com");
  list.SetDropDownTipText(u"常用网址");
  EXPECT_EQ(list.Display().GetToolTip(), CWString(u"常用网址（右击可以打开网址）"));
  Click(list, 30, 10, Qt::RightButton);  // no current item: nothing to open
  EXPECT_TRUE(desktop.opened.empty());
  list.SelectDropDownItem(0);
  Click(list, 30, 10, Qt::RightButton);
  EXPECT_EQ(desktop.opened, (std::vector<CWString>{u"http://www.example.com"}));

  // On an open list the right click first closes it on the row under the pointer.
  ClickText(list);
  ASSERT_EQ(list.open, 1);
  log.events.clear();
  Click(list, 30, RowY(list, 1), Qt::RightButton);
  EXPECT_EQ(list.open, 0);
  EXPECT_EQ(list.GetDropDownIndex(), 1);
  EXPECT_EQ(log.events, (Events{"item chosen"}));
  EXPECT_EQ(desktop.opened.back(), CWString(u"HTTP://Docs.example.com"));

  list.urlOption = kUrlOptionOff;
  Click(list, 30, 10, Qt::RightButton);
  EXPECT_EQ(desktop.opened.size(), 2u);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(DropDownTest, AnEditableFieldTakesPasteAndTyping) {
  rg_TavelkinZuGeKuang1 list;
  list.style = kDropDownEditable;
  Make(list, form, 20, 20, 200, u"5%\r\n10%");
  std::vector<int> keys;
  static std::vector<int>* s_keys;
  s_keys = &keys;
  list.FieldKeyDownEvent.Connect([](CQzuObject*, CQzuObject*, intptr_t, int key, int) -> intptr_t {
    s_keys->push_back(key);
    return 0;
  }, log.ref);
  list.FieldKeyUpEvent.Connect([](CQzuObject*, CQzuObject*, intptr_t, int key, int) -> intptr_t {
    s_keys->push_back(-key);
    return 0;
  }, log.ref);
  desktop.clipboard = u"37%";
  Click(list, list.GetDropDownHandleLeft() + 2, 10, Qt::RightButton);  // the edit field covers the rest
  EXPECT_EQ(list.EditField().GetText(), CWString(u"37%"));
  EXPECT_EQ(list.GetDropDownValue(), CWString(u"37%"));
  EXPECT_EQ(list.GetDropDownIndex(), -1);
  EXPECT_EQ(log.Count("text changed"), 1);

  QTest::keyClick(list.EditField().GetWidget(), Qt::Key_A);
  EXPECT_EQ(list.GetDropDownValue(), CWString(u"37%a"));
  EXPECT_EQ(log.Count("text changed"), 2);
  EXPECT_EQ(keys, (std::vector<int>{'A', -'A'}));

  // Choosing a row of an editable list fills the field and reports only the
  // change; opening finds the row that matches the field.
  list.SetDropDownValue(u"10%");
  EXPECT_EQ(list.GetDropDownIndex(), -1);  // the editable styles keep the selection
  log.events.clear();
  ClickHandle(list);
  EXPECT_EQ(list.GetDropDownIndex(), 1);
  Click(list, 40, RowY(list, 0));
  EXPECT_EQ(list.GetDropDownValue(), CWString(u"5%"));
  EXPECT_EQ(log.events, (Events{"opening", "text changed"}));
}

// The quiet editable style reports a chosen row like the list-only style,
// but neither typing nor the field's change.
TEST_F(DropDownTest, AQuietEditableListReportsTheChosenRowButNotTyping) {
  rg_TavelkinZuGeKuang1 list;
  list.style = kDropDownEditableQuiet;
  Make(list, form, 20, 20, 200, u"5%\r\n10%");
  ClickHandle(list);
  ASSERT_EQ(list.open, 1);
  Click(list, 40, RowY(list, 1));
  EXPECT_EQ(list.open, 0);
  EXPECT_EQ(list.GetDropDownValue(), CWString(u"10%"));
  EXPECT_EQ(log.events, (Events{"opening", "item chosen"}));
  QTest::keyClick(list.EditField().GetWidget(), Qt::Key_A);
  EXPECT_EQ(list.GetDropDownValue(), CWString(u"10%a"));
  EXPECT_EQ(log.events, (Events{"opening", "item chosen"}));
}

TEST_F(DropDownTest, OpeningShowsTheCurrentItem) {
  rg_TavelkinZuGeKuang1 list;
  // A shorter list first leaves the scroll bar a small count; the longer one
  // must not be held to it.
  Make(list, form, 20, 20, 200, Rows(12));
  ClickText(list);
  ClickText(list);
  ASSERT_LT(list.ScrollBar().positionCount, 10);
  list.SetDropDownItemsText(Rows(30));
  list.SelectDropDownItem(25);
  ClickText(list);
  const int visible = list.CountVisibleDropDownRows();
  EXPECT_EQ(list.firstVisibleRow, 25 - visible + 1);
  EXPECT_EQ(list.ScrollBar().GetScrollBarPosition(), 25 - visible + 2);
  ClickText(list);
  list.SelectDropDownItem(3);
  ClickText(list);
  EXPECT_EQ(list.firstVisibleRow, 3);
  ClickText(list);
  list.locateOnOpen = kLocateTop;
  ClickText(list);
  EXPECT_EQ(list.firstVisibleRow, 0);
  ClickText(list);
  // A list that shrank below its scroll position shows its rows from the top.
  list.locateOnOpen = kLocateNothing;
  list.ScrollBar().SetScrollBarPosition(20);
  list.SetDropDownItemsText(Rows(3));
  ClickText(list);
  EXPECT_EQ(list.firstVisibleRow, 0);
  MoveTo(list, 40, RowY(list, 1));
  EXPECT_EQ(list.hotRow, 1);
}

TEST_F(DropDownTest, ChoosingTheCustomColourShowsTheNoticeAndReportsColourZero) {
  rg_TavelkinZuGeKuang1 list;
  list.colourMode = 1;
  list.customColour = 0x123456;
  Make(list, form, 20, 20, 200, u"自定义|-2\r\n红|255");
  EXPECT_EQ(list.Display().GetToolTip(), CWString(u"如果需要定位上次颜色，按住Ctrl键再弹出列表"));
  ClickText(list);
  Click(list, 40, RowY(list, 1));
  EXPECT_EQ(list.GetDropDownColour(), 255u);
  EXPECT_EQ(list.customColour, 255u);
  EXPECT_TRUE(desktop.boxes.empty());
  ClickText(list);
  Click(list, 40, RowY(list, 0));
  EXPECT_EQ(desktop.boxes, (std::vector<CWString>{u"信息: 还没有设置颜色窗口的指针！"}));
  EXPECT_EQ(list.GetDropDownIndex(), 0);
  EXPECT_EQ(list.GetDropDownColour(), 0u);
  EXPECT_EQ(log.Count("colour chosen"), 2);
  EXPECT_EQ(log.Count("item chosen"), 0);
}

TEST_F(DropDownTest, AListInANestedPanelOpensInTheHostWindowAndComesBack) {
  rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi outer, inner;
  ASSERT_EQ(outer.Create(&form, 10, 150, 380, 140, 2), 1);
  ASSERT_EQ(inner.Create(&outer, 10, 50, 300, 60, 3), 1);
  rg_TavelkinZuGeKuang1 list;
  Make(list, inner, 5, 20, 200, u"一\r\n二\r\n三\r\n四\r\n五");
  EXPECT_EQ(list.parentWindow.data(), inner.GetWidget());
  EXPECT_EQ(list.hostWindow.data(), form.GetWidget());
  const int h = list.fieldHeight;
  ClickText(list);
  ASSERT_EQ(list.open, 1);
  // The field's top lies at 150 + 50 + 20 = 220 in the form, 300 high: the
  // five rows go up.
  EXPECT_EQ(list.GetParentControl(), &form);
  EXPECT_EQ(list.opensUpward, 1);
  EXPECT_EQ(list.listHeight, 5 * list.GetDropDownRowHeight() + 5);
  EXPECT_EQ(list.GetWidget()->geometry(), QRect(25, 220 - list.listHeight, 200, h + list.listHeight));
  EXPECT_EQ(list.savedRectangle.left, 5);
  EXPECT_EQ(list.savedRectangle.top, 20);
  // The field kept the focus through the move, and the list is on top.
  EXPECT_TRUE(list.Display().HasFocus());
  EXPECT_EQ(list.listFocused, 1);
  EXPECT_EQ(form.GetWidget()->childAt(30, 220 - list.listHeight + 3), list.Display().GetWidget());
  EXPECT_EQ(log.events, (Events{"field click", "opening"}));

  MoveTo(list, 40, RowY(list, 3));
  Click(list, 40, RowY(list, 3));
  EXPECT_EQ(list.open, 0);
  EXPECT_EQ(list.GetParentControl(), &inner);
  EXPECT_EQ(list.GetWidget()->geometry(), QRect(5, 20, 200, h));
  EXPECT_TRUE(list.Display().HasFocus());
  EXPECT_EQ(list.GetDropDownIndex(), 3);
  EXPECT_EQ(log.events, (Events{"field click", "opening", "closed", "item chosen"}));

  // Closed by the focus going elsewhere, it comes back the same way.
  ClickText(list);
  ASSERT_EQ(list.GetParentControl(), &form);
  elsewhere.SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return list.open == 0; }));
  EXPECT_EQ(list.GetParentControl(), &inner);
  EXPECT_EQ(list.GetWidget()->geometry(), QRect(5, 20, 200, h));
  EXPECT_EQ(log.Count("closed"), 2);
  EXPECT_EQ(log.Count("item chosen"), 1);
}

// The closed event comes from inside a paint (the paint puts the list back);
// any number of redraws asked for there gives one more paint.
TEST_F(DropDownTest, RedrawRequestsMadeDuringAPaintGiveOnePaintAfterIt) {
  rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi panel;
  ASSERT_EQ(panel.Create(&form, 10, 10, 300, 100, 2), 1);
  static rg_TavelkinZuGeKuang1* s_list;
  rg_TavelkinZuGeKuang1 list;
  s_list = &list;
  Make(list, panel, 5, 5, 200, u"一\r\n二");
  list.ClosedEvent.Connect([](CQzuObject*, CQzuObject*, intptr_t) -> intptr_t {
    for (int i = 0; i < 10; ++i) s_list->RedrawDropDownList(kDropDownQueued);
    return 0;
  }, log.ref);
  ClickText(list);
  ASSERT_EQ(list.open, 1);
  const int paints = list.GetPaintCount();
  ClickText(list);
  ASSERT_EQ(list.open, 0);
  EXPECT_EQ(list.GetPaintCount(), paints + 2);
  EXPECT_EQ(list.redrawQueue.GetCount(), 0);
  // Out of a paint, each request paints.
  list.RedrawDropDownList(kDropDownQueued);
  list.RedrawDropDownList(kDropDownQueued);
  EXPECT_EQ(list.GetPaintCount(), paints + 4);
  // Nothing is painted while drawing is off.
  list.drawingEnabled = 0;
  list.RedrawDropDownList(kDropDownQueued);
  list.RedrawDropDownList(kDropDownPaintNow);
  EXPECT_EQ(list.GetPaintCount(), paints + 4);
}

TEST_F(DropDownTest, ItemsSelectionValueAndColourOfAListWithAWindow) {
  rg_TavelkinZuGeKuang1 list;
  Make(list, form, 20, 20, 200, u"a\r\nb\r\n2\r\nc");
  // The selection survives a reload by position; a reload too short clears it.
  list.SelectDropDownItem(3);
  list.SetDropDownItemsText(u"w\nx\ny\n0\nz\n1\nq\n2");
  EXPECT_EQ(list.GetDropDownItemCount(), 4);
  EXPECT_EQ(list.GetDropDownIndex(), 3);
  EXPECT_EQ(list.GetDropDownItemText(3), CWString(u"q"));
  EXPECT_EQ(list.GetDropDownItemNumber(3), 2);
  EXPECT_EQ(list.EditField().GetText(), CWString(u"q"));
  list.SetDropDownItemsText(u"a\r\nb");
  EXPECT_EQ(list.GetDropDownIndex(), -1);
  EXPECT_EQ(list.EditField().GetText(), CWString());
  EXPECT_EQ(list.previousIndex, 3);
  EXPECT_EQ(list.GetDropDownItemText(7), CWString());
  EXPECT_EQ(list.GetDropDownItemNumber(-1), 0);

  // List only: a value is a text first, then an index.
  list.SetDropDownItemsText(u"a\r\nb\r\n2\r\nc");
  struct Row {
    std::u16string value;
    int32_t index;
  };
  for (const Row& row : {Row{u"2", 2}, Row{u"c", 3}, Row{u"1", 1}, Row{u"x", 0}, Row{u"9", -1}, Row{u"-1", -1}}) {
    list.SetDropDownValue(row.value);
    EXPECT_EQ(list.GetDropDownIndex(), row.index) << CWString(row.value).ToUtf8();
  }
  list.SelectDropDownItem(1);
  EXPECT_EQ(list.GetDropDownValue(), CWString(u"b"));
  EXPECT_EQ(list.requestedIndex, 1);

  // Colours: outside colour mode only the custom colour changes.
  list.SetDropDownColour(0x112233);
  EXPECT_EQ(list.GetDropDownIndex(), 1);
  EXPECT_EQ(list.customColour, 0x112233u);
  list.colourMode = 1;
  list.SetDropDownItemsText(u"自定义|-2\r\n红|255\r\n又红|255");
  list.SetDropDownColour(255);
  EXPECT_EQ(list.GetDropDownIndex(), 1);
  list.SetDropDownColour(0x00FF00);
  EXPECT_EQ(list.GetDropDownIndex(), 0);
  EXPECT_EQ(list.GetDropDownColour(), 0x00FF00u);
  list.SelectDropDownItem(-1);
  EXPECT_EQ(list.GetDropDownColour(), 0u);
}

TEST_F(DropDownTest, ObjectOperations) {
  rg_TavelkinZuGeKuang1 list;
  EXPECT_STREQ(list.GetClassInfo().name, "rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinZuGeKuang1");
  EXPECT_TRUE(list.IsKindOf(rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi::StaticClassInfo()));
  EXPECT_EQ(list.DefaultWidth(), 636);
  EXPECT_EQ(list.DefaultHeight(), 223);
  list.SetDropDownTitle(u"输出编码");
  list.numbering = 1;
  Make(list, form, 20, 20, 200, u"{参数分隔符},\r\na,1\r\n[-]\r\nb,2,,7");
  list.SelectDropDownItem(2);

  rg_TavelkinZuGeKuang1 copy;
  EXPECT_EQ(copy.CopyFrom(rg_TavelkinGunDongTiao1()), 0);
  ASSERT_EQ(copy.CopyFrom(list), 1);
  EXPECT_EQ(copy.GetWidget(), list.GetWidget());
  EXPECT_EQ(copy.Display().GetWidget(), list.Display().GetWidget());
  EXPECT_EQ(copy.GetDropDownItemText(2), CWString(u"3.b"));
  EXPECT_EQ(copy.parameterSeparator, CWString(u","));
  EXPECT_EQ(copy.currentIndex, 2);
  EXPECT_FALSE(copy.ItemChosenEvent.IsConnected());
  EXPECT_FALSE(copy.IsEqual(list));
  EXPECT_TRUE(list.IsEqual(list));

  // The stream keeps every member; a second save of what was loaded gives
  // the same bytes.
  CQzuMemStream out;
  list.SaveToStream(out);
  ASSERT_TRUE(out.Ok());
  rg_TavelkinZuGeKuang1 loaded;
  CQzuMemStream in(out.Buffer());
  loaded.LoadFromStream(in);
  ASSERT_TRUE(in.Ok());
  EXPECT_EQ(in.Position(), out.Buffer().GetSize());
  EXPECT_EQ(loaded.title, CWString(u"输出编码"));
  EXPECT_EQ(loaded.GetDropDownItemText(0), CWString(u"1.a"));
  EXPECT_EQ(loaded.GetDropDownItemNumber(2), 2);
  EXPECT_EQ(static_cast<rg_TavelkinXiangMu*>(loaded.items[2])->value, 7);
  EXPECT_EQ(loaded.currentIndex, 2);
  EXPECT_EQ(loaded.fieldHeight, list.fieldHeight);
  EXPECT_EQ(loaded.lineHeight, list.lineHeight);
  CQzuMemStream again;
  loaded.SaveToStream(again);
  EXPECT_TRUE(again.Buffer() == out.Buffer());
  // A short stream stops with an error.
  CQzuMemStream cut(out.Buffer().GetData(), out.Buffer().GetSize() / 2);
  rg_TavelkinZuGeKuang1 partial;
  partial.LoadFromStream(cut);
  EXPECT_EQ(cut.GetError(), kQzuStreamShortRead);
}
