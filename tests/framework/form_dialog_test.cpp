// Forms: the envelope dialog's nested loop, the modal wait loop, closing.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QTextEdit>
#include <QTimer>

#include "framework/check_box.h"
#include "framework/envelope_dialog.h"
#include "framework/label.h"
#include "framework/message_pump.h"
#include "framework/qt_text.h"
#include "framework/rich_edit.h"
#include "framework/win_form.h"
#include "framework/window_message.h"
#include "framework_test_util.h"

using namespace rg_Ombrine_MFCJieMian_base;
using qzu_test::PumpUntil;
using qzu_test::R;
using qzu_test::Recorder;

TEST(EnvelopeDialog, EndsOnItsPrivateMessage) {
  CQzuWinForm form;
  form.SetCaption(u"选择文件夹");
  rg_label8 label;
  bool sawEnvelope = false;
  QTimer::singleShot(30, [&] {
    sawEnvelope = form.GetEnvelope() != nullptr && form.HasWindow();
    form.CloseForm();
  });
  const int code = form.CreateModal(nullptr, 300, 200);
  EXPECT_EQ(code, 3);
  EXPECT_TRUE(sawEnvelope);
  EXPECT_FALSE(form.HasWindow());
  EXPECT_EQ(form.GetEnvelope(), nullptr);
}

TEST(EnvelopeDialog, OtherMessagesDoNotEndIt) {
  CQzuWinForm form;
  int step = 0;
  QTimer::singleShot(20, [&] {
    EXPECT_FALSE(CQzuEnvelopeDialog::PostEnd(nullptr));
    // The private message with another wParam, and another message: not the end.
    QCoreApplication::postEvent(form.GetEnvelope(), new QzuMessageEvent(0xA001, 2, 0));
    QCoreApplication::postEvent(form.GetEnvelope(), new QzuMessageEvent(0x0500, 3, 0));
    step = 1;
  });
  QTimer::singleShot(80, [&] {
    EXPECT_TRUE(form.HasWindow());
    step = 2;
    form.CloseForm();
  });
  EXPECT_EQ(form.CreateModal(nullptr, 200, 100), 3);
  EXPECT_EQ(step, 2);
}

TEST(EnvelopeDialog, CloseQueryCanRefuseTheTitleBarClose) {
  Recorder rec;
  rec.result = 1;
  CQzuWinForm form;
  form.OnCloseQuery.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    R(r)->Add("query");
    return R(r)->result;
  }, rec.ref);
  QTimer::singleShot(20, [&] { form.GetEnvelope()->reject(); });  // refused
  QTimer::singleShot(60, [&] {
    EXPECT_TRUE(form.HasWindow());
    rec.result = 0;
    form.GetEnvelope()->reject();
  });
  EXPECT_EQ(form.CreateModal(nullptr, 200, 100), 0);
  EXPECT_EQ(rec.Count("query"), 2);
}

TEST(ModalWait, EndsWhenTheWindowCloses) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(), 1);
  QTimer::singleShot(40, [&] { form.CloseForm(); });  // no envelope: WM_CLOSE
  QElapsedTimer t;
  t.start();
  WaitWhileWindowExists(form);
  EXPECT_FALSE(form.HasWindow());
  EXPECT_LT(t.elapsed(), 2000);
  // The object lives on and can make its window again.
  EXPECT_EQ(form.CreateForm(), 1);
  form.DestroyWindow();
}

TEST(Forms, FirstActivationIsRaisedOnce) {
  Recorder rec;
  CQzuWinForm form;
  form.OnFirstActivation.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    R(r)->Add("first");
    return 0;
  }, rec.ref);
  form.OnShown.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    R(r)->Add("shown");
    return 0;
  }, rec.ref);
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 120, 80), 1);
  ASSERT_TRUE(PumpUntil([&] { return rec.Count("first") == 1; }));
  form.SetVisible(false);
  form.SetVisible(true);
  qzu_test::PumpFor(20);
  EXPECT_EQ(rec.Count("first"), 1);
  EXPECT_EQ(rec.Count("shown"), 2);
  EXPECT_EQ(rec.log.front(), "shown");
  form.DestroyWindow();
}

TEST(Forms, CreateTwiceFailsAndCaptionSurvivesWithoutWindow) {
  CQzuWinForm form;
  form.SetCaption(u"信息:");
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 100, 60), 1);
  EXPECT_EQ(form.CreateForm(nullptr, 0, 0, 100, 60), 0);
  EXPECT_EQ(form.GetWidget()->windowTitle(), QStringLiteral("信息:"));
  form.DestroyWindow();
  EXPECT_EQ(form.GetCaption(), u"信息:");
}

TEST(FormWindow, ClosingTakesTheChildrensWindowsAtOnceAndKeepsWhatTheyHeld) {
  CQzuWinForm form;
  rg_rich_edit editor;
  rg_check_box box;
  ASSERT_EQ(form.CreateForm(nullptr, 30, 30, 300, 200), 1);
  ASSERT_EQ(editor.Create(&form, 5, 5, 200, 100), 1);
  ASSERT_EQ(box.Create(&form, 5, 120, 100, 24, 0, u"遍历子目录"), 1);
  auto* edit = qobject_cast<QTextEdit*>(editor.GetWidget());
  ASSERT_NE(edit, nullptr);
  edit->setPlainText(QStringLiteral("用户改过的文字"));
  QTextCursor c = edit->textCursor();
  c.setPosition(2);
  c.setPosition(4, QTextCursor::KeepAnchor);
  edit->setTextCursor(c);
  static_cast<QAbstractButton*>(box.GetWidget())->click();

  form.PostMessage(qzu_win::kWmClose);
  ASSERT_TRUE(PumpUntil([&] { return !form.HasWindow(); }));
  // The children's widgets go later with the form's, but they no longer
  // count as windows: the same objects can be created again at once.
  EXPECT_FALSE(editor.HasWindow());
  EXPECT_FALSE(box.HasWindow());
  EXPECT_EQ(editor.GetText(), u"用户改过的文字");
  int start = 0, end = 0;
  editor.GetSel(start, end);
  EXPECT_EQ(start, 2);
  EXPECT_EQ(end, 4);
  EXPECT_TRUE(box.GetChecked());

  ASSERT_EQ(form.CreateForm(nullptr, 30, 30, 300, 200), 1);
  ASSERT_EQ(editor.Create(&form, 5, 5, 200, 100), 1);
  ASSERT_EQ(box.Create(&form, 5, 120, 100, 24), 1);
  EXPECT_EQ(FromQString(qobject_cast<QTextEdit*>(editor.GetWidget())->toPlainText()), u"用户改过的文字");
  EXPECT_TRUE(static_cast<QAbstractButton*>(box.GetWidget())->isChecked());
  form.DestroyWindow();
}
