// The framework's plain controls without and with their windows.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>

#include "framework/check_box.h"
#include "framework/combo_box.h"
#include "framework/edit_box.h"
#include "framework/label.h"
#include "framework/rich_edit.h"
#include "framework/win_form.h"
#include "framework_test_util.h"

using namespace rg_Ombrine_MFCJieMian_base;

TEST(EditBox, LivesWithoutAWindowThroughCopyAndStream) {
  rg_edit_box box;
  box.SetText(u"汉字[拼音]");
  box.SetTextMember(u"编辑框");
  box.SetCueBanner(u"默认换行");
  box.SetFontText(u"微软雅黑, 11, 0, 0, 0, 0, 0");
  box.Move(95, 34, 288, 26);
  EXPECT_FALSE(box.HasWindow());

  rg_edit_box copy;
  ASSERT_EQ(copy.CopyFrom(box), 1);
  EXPECT_EQ(copy.GetText(), u"汉字[拼音]");
  EXPECT_EQ(copy.GetCueBanner(), u"默认换行");
  EXPECT_TRUE(copy.IsEqual(box));  // same shared window object, same text member

  CQzuMemStream stream;
  box.SaveToStream(stream);
  stream.Rewind();
  rg_edit_box loaded;
  loaded.LoadFromStream(stream);
  EXPECT_EQ(stream.GetError(), 0);
  EXPECT_EQ(loaded.GetText(), u"汉字[拼音]");
  EXPECT_EQ(loaded.GetTextMember(), u"编辑框");
  EXPECT_EQ(loaded.GetFontText(), u"微软雅黑, 11, 0, 0, 0, 0, 0");
  EXPECT_EQ(loaded.GetWidth(), 288);
  EXPECT_FALSE(loaded.IsEqual(box));  // its own window object

  // A short stream leaves the object as it was.
  CQzuMemStream shortStream(stream.Buffer().GetData(), 10);
  rg_edit_box untouched;
  untouched.SetText(u"原样");
  untouched.LoadFromStream(shortStream);
  EXPECT_EQ(shortStream.GetError(), kQzuStreamShortRead);
  EXPECT_EQ(untouched.GetText(), u"原样");

  // A copy shares the window made later by the original.
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 400, 100), 1);
  ASSERT_EQ(box.Create(&form, 0, 0, 200, 26), 1);
  EXPECT_TRUE(copy.HasWindow());
  box.SetText(u"新");
  EXPECT_EQ(copy.GetText(), u"新");
  EXPECT_EQ(rg_edit_box().CopyFrom(rg_label8()), 0);  // another class is refused
  form.DestroyWindow();
}

TEST(EditBox, MultiLineKeepsLineBreaks) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 400, 200), 1);
  rg_edit_box box;
  ASSERT_EQ(box.Create(&form, 0, 0, 300, 100, 1, u"一\n二", qzu_win::kEsMultiline), 1);
  EXPECT_TRUE(box.IsMultiLine());
  // Lines read back joined by CR LF, as the program stores and compares them.
  EXPECT_EQ(box.GetText(), u"一\r\n二");
  box.SetText(u"三\r\n\u00A0四\r\n");
  EXPECT_EQ(box.GetText(), u"三\r\n\u00A0四\r\n");
  // Selections count each line break as two units, as the text reads.
  box.SetText(u"一\n二");
  box.SetSel(1, -1);
  int s = 0, e = 0;
  box.GetSel(s, e);
  EXPECT_EQ(s, 1);
  EXPECT_EQ(e, 4);
  box.SetSel(3, 4);
  box.ReplaceSel(u"三");
  EXPECT_EQ(box.GetText(), u"一\r\n三");
  form.DestroyWindow();
}

TEST(CheckAndRadio, StateSetBeforeTheWindowAndRadioGroupsPerParent) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 400, 200), 1);
  rg_radio_box a, b, other;
  rg_check_box check;
  a.SetCaption(u"基本");
  a.SetChecked(true);
  check.SetChecked(true);
  ASSERT_EQ(a.Create(&form, 0, 0, 80, 26), 1);
  ASSERT_EQ(b.Create(&form, 0, 30, 80, 26, 0, u"排版"), 1);
  ASSERT_EQ(check.Create(&form, 0, 60, 80, 26, 0, u"换行"), 1);
  CQzuWinForm panel;  // another parent, another group
  ASSERT_EQ(panel.CreateForm(nullptr, 0, 0, 100, 100), 1);
  ASSERT_EQ(other.Create(&panel, 0, 0, 80, 26, 0, u"原始"), 1);
  other.SetChecked(true);
  EXPECT_TRUE(a.GetChecked());
  EXPECT_TRUE(check.GetChecked());
  EXPECT_EQ(a.GetParentControl(), &form);
  EXPECT_EQ(CQzuWinControl::FromWidget(other.GetWidget()), &other);
  EXPECT_EQ(form.GetParentControl(), nullptr);
  EXPECT_EQ(a.GetCaption(), u"基本");

  qzu_test::Recorder rec;
  b.OnClick.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    qzu_test::R(r)->Add("click");
    return 0;
  }, rec.ref);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
  QTest::mouseClick(b.GetWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(8, 13));
  EXPECT_TRUE(b.GetChecked());
  EXPECT_FALSE(a.GetChecked());
  EXPECT_TRUE(other.GetChecked());
  EXPECT_EQ(rec.Count("click"), 1);
  b.SetChecked(false);  // BM_SETCHECK 0 on the checked member of a group
  EXPECT_FALSE(b.GetChecked());
  form.DestroyWindow();
  panel.DestroyWindow();
}

TEST(ComboBox, ItemsAndSelectionBeforeAndAfterCreation) {
  rg_combo_box list;
  for (const char16_t* t : {u"自动", u"html", u"txt"}) list.AddItem(t);
  list.SetCurSel(2);
  EXPECT_EQ(list.GetText(), u"txt");
  list.SetCurSel(7);
  EXPECT_EQ(list.GetCurSel(), -1);
  list.SetCurSel(1);
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 200, 60), 1);
  ASSERT_EQ(list.Create(&form, 0, 0, 150, 26), 1);
  EXPECT_EQ(list.GetCurSel(), 1);
  EXPECT_EQ(list.GetText(), u"html");
  EXPECT_EQ(list.GetCount(), 3);
  form.DestroyWindow();
}

TEST(RichEdit, ReadOnlyPlainTextWithFilesDropped) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 300, 200), 1);
  rg_rich_edit edit;
  edit.SetReadOnly(true);
  edit.SetBackColour(0xECECEC);
  edit.AcceptFiles(true);
  edit.SetText(u"<b>不是富文本</b>\n第二行");
  ASSERT_EQ(edit.Create(&form, 0, 0, 200, 100), 1);
  EXPECT_EQ(edit.GetText(), u"<b>不是富文本</b>\r\n第二行");
  EXPECT_TRUE(edit.GetWidget()->acceptDrops());
  qzu_test::Recorder rec;
  edit.OnKeyDown.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int k, int) -> intptr_t {
    qzu_test::R(r)->Add("key", {k});
    return 0;
  }, rec.ref);
  QTest::keyClick(edit.GetWidget(), Qt::Key_X);
  EXPECT_EQ(edit.GetText(), u"<b>不是富文本</b>\r\n第二行");  // read-only
  // No-break spaces stay what they are (Qt's own plain text makes them spaces).
  edit.SetText(u"a\u00A0b\r\n\r\nc");
  EXPECT_EQ(edit.GetText(), u"a\u00A0b\r\n\r\nc");
  edit.SetSel(7, 8);
  EXPECT_EQ(qobject_cast<QTextEdit*>(edit.GetWidget())->textCursor().selectedText(), QStringLiteral("c"));
  int start = 0, end = 0;
  edit.GetSel(start, end);
  EXPECT_EQ(start, 7);
  EXPECT_EQ(end, 8);
  EXPECT_EQ(rec.Count("key"), 1);
  form.DestroyWindow();
}

TEST(ControlMessages, ByNumberAsTheCallersWriteThem) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 300, 200), 1);
  rg_check_box check;
  ASSERT_EQ(check.Create(&form, 0, 0, 80, 26, 0, u"换行"), 1);
  check.SendMessage(0xF1, 1);  // BM_SETCHECK
  EXPECT_EQ(check.SendMessage(0xF0), 1);
  check.SendMessage(0xF1, 0);
  EXPECT_FALSE(check.GetChecked());

  rg_edit_box edit;
  ASSERT_EQ(edit.Create(&form, 0, 30, 200, 26, 0, u"D:\\data"), 1);
  edit.SendMessage(0x1501, 0, reinterpret_cast<intptr_t>(u"默认换行"));  // EM_SETCUEBANNER
  EXPECT_EQ(edit.GetCueBanner(), u"默认换行");
  edit.SendMessage(0xD3, 2, 70 << 16);  // EM_SETMARGINS, right margin 70
  EXPECT_EQ(static_cast<QLineEdit*>(edit.GetWidget())->textMargins().right(), 70);

  rg_rich_edit rich;
  ASSERT_EQ(rich.Create(&form, 0, 60, 200, 100, 0, u"复制这段"), 1);
  rich.SelectAll();
  rich.SendMessage(0x301);  // WM_COPY
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("复制这段"));
  rich.SendMessage(0x303);  // WM_CLEAR
  EXPECT_EQ(rich.GetText(), u"");
  EXPECT_EQ(rich.SendMessage(0xC6), 1);  // EM_CANUNDO
  rich.SendMessage(0xC7);               // EM_UNDO
  EXPECT_EQ(rich.GetText(), u"复制这段");
  EXPECT_EQ(rich.SendMessage(0x432), 1);  // EM_CANPASTE
  rich.SetReadOnly(true);
  EXPECT_EQ(rich.SendMessage(0x432), 0);
  form.DestroyWindow();
}

// EM_SCROLLCARET after EM_SETSEL 0, -1: the end of a text wider (or taller)
// than the box comes into view, in one-line and multi-line boxes alike.
TEST(EditBox, ScrollCaretBringsTheSelectionsEndIntoView) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 300, 200), 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
  std::u16string longText;
  for (int i = 0; i < 40; ++i) longText += u"文件夹名称";

  rg_edit_box line;
  ASSERT_EQ(line.Create(&form, 0, 0, 80, 24, 0, CWString(longText)), 1);
  auto* lineEdit = static_cast<QLineEdit*>(line.GetWidget());
  lineEdit->setCursorPosition(0);
  lineEdit->repaint();  // scrolled to the start
  line.SendMessage(0xB1, 0, -1);
  line.SendMessage(0xB7);
  EXPECT_EQ(lineEdit->selectedText().size(), static_cast<int>(longText.size()));
  const QRect caret = lineEdit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  EXPECT_LE(caret.right(), lineEdit->width());
  EXPECT_GE(caret.left(), 0);

  rg_edit_box multi;
  multi.SetStyle(qzu_win::kEsMultiline | qzu_win::kWsVScroll | qzu_win::kWsBorder);
  std::u16string lines;
  for (int i = 0; i < 60; ++i) lines += u"第" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u"行\n";
  ASSERT_EQ(multi.Create(&form, 0, 40, 120, 60, 0, CWString(lines + u"末尾")), 1);
  auto* plain = static_cast<QPlainTextEdit*>(multi.GetWidget());
  multi.SetSel(0, -1);
  plain->verticalScrollBar()->setValue(0);
  multi.SendMessage(0xB7);
  EXPECT_GT(plain->verticalScrollBar()->value(), 0);
  EXPECT_TRUE(plain->viewport()->rect().intersects(plain->cursorRect()));
  form.DestroyWindow();
}
