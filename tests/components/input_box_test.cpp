// The input box offscreen: both modes and what each shows, its buttons, the
// discard question, dropped files, the hidden import buttons, the layout at
// two DPI factors, and a second call while it is shown.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/dpi.h"
#include "components/input_box.h"
#include "components/title_hint.h"
#include "framework/framework_test_util.h"
#include "framework/qt_platform_hooks.h"
#include "framework/qt_text.h"
#include "test_support.h"
#include "textlib/text_height.h"

using namespace rg_Tavelkin_MingLingJi;
using qzu_test::PumpUntil;

namespace {

// Message boxes answered from a script and recorded; Ctrl and Alt held on request.
struct BoxHooks : CQtPlatformHooks {
  std::vector<CWString> texts, captions;
  std::vector<int> styles;
  std::vector<int> answers;  // taken in order; kIdOk once they run out
  bool ctrl = false, alt = false;
  int MessageBox(const CWString& text, const CWString& caption, int style) override {
    texts.push_back(text);
    captions.push_back(caption);
    styles.push_back(style);
    if (answers.empty()) return kIdOk;
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  int16_t AsyncKeyState(int key) override {
    if ((key == qzu_win::kVkControl && ctrl) || (key == qzu_win::kVkMenu && alt)) return static_cast<int16_t>(0x8000);
    return 0;
  }
};

class InputBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallQtPlatformHooks();
    m_previous = InstallPlatformHooks(&hooks);
  }
  void TearDown() override {
    InstallPlatformHooks(m_previous);
    SetDpiFactor(1.0);
  }

  // Shows the box and runs `act` from inside its wait, once it is on screen;
  // a box still open 30 seconds later is closed so that the test ends.
  int Show(const CWString& content, const CWString& prompt, const CWString& title, CWString* result,
           std::function<void()> act) {
    auto started = std::make_shared<bool>(false);
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&, started] {
      // The close button is the last child to show.
      if (*started || !box.HasWindow() || !box.closeButton.GetWidget() || !box.closeButton.GetWidget()->isVisible())
        return;
      *started = true;
      act();
    });
    poll.start();
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
      ADD_FAILURE() << "the box was still open";
      box.DestroyWindow();
    });
    watchdog.start(30000);
    const int r = box.ShowInputBox(content, prompt, title, result);
    EXPECT_TRUE(*started) << "the box never showed";
    return r;
  }

  static void Click(rg_TavelkinShuRuKuangLei::Button& b) {
    QTest::mouseClick(b.Display().GetWidget(), Qt::LeftButton, {}, QPoint(10, 10));
  }
  QTextEdit* EditorWidget() { return qobject_cast<QTextEdit*>(box.editor.GetWidget()); }
  // What a user sees: the visible children of the box.
  std::vector<int> VisibleIds() {
    std::vector<int> ids;
    for (CQzuWinControl* c : std::initializer_list<CQzuWinControl*>{
             &box.buttonBar, &box.restoreButton, &box.clearButton, &box.pasteButton, &box.importContentsButton,
             &box.importPathsButton, &box.okButton, &box.promptBox, &box.measuringCanvas, &box.editor,
             &box.closeButton})
      if (c->GetWidget() && c->GetWidget()->isVisible()) ids.push_back(c->GetId());
    return ids;
  }

  BoxHooks hooks;
  rg_TavelkinShuRuKuangLei box;

 private:
  IPlatformHooks* m_previous = nullptr;
};

}  // namespace

TEST_F(InputBoxTest, ViewModeShowsTheTextGreyAndReadOnlyWithOnlyTheCloseButton) {
  for (const char16_t* title : {u"", u"疑点说明"}) {
    CWString kept = u"不会改变";
    CWString none = CWString::Null();
    const int r = Show(u"帮助文字\r\n第二行", CWString(), title, title[0] ? &none : nullptr, [&] {
      EXPECT_EQ(box.GetCaption(), title[0] ? CWString(title) : CWString(u"信息："));
      EXPECT_EQ(VisibleIds(), (std::vector<int>{kInputBoxPromptId, kInputBoxEditorId, kInputBoxCloseId}));
      EXPECT_TRUE(EditorWidget()->isReadOnly());
      EXPECT_EQ(EditorWidget()->palette().color(QPalette::Base), QColor(0xEC, 0xEC, 0xEC));
      EXPECT_EQ(box.editor.GetText(), u"帮助文字\r\n第二行");
      EXPECT_EQ(box.closeButton.GetButtonText(), u"关闭");
      QTest::keyClicks(EditorWidget(), "x");
      EXPECT_EQ(box.editor.GetText(), u"帮助文字\r\n第二行");
      EXPECT_EQ(box.ShowInputBox(u"别的", u"", u"", &kept), 0) << "a second call while shown";
      EXPECT_EQ(box.editor.GetText(), u"帮助文字\r\n第二行");
      Click(box.closeButton);
    });
    EXPECT_EQ(r, 0);
    EXPECT_FALSE(box.HasWindow());
    EXPECT_EQ(kept, u"不会改变");
    EXPECT_TRUE(hooks.texts.empty()) << "a read-only box asks nothing";
  }
}

TEST_F(InputBoxTest, InputModeHandsBackTheEditedTextOnOk) {
  CWString answer = u"旧值";
  const int r = Show(u"*.txt", u"请输入文件类型：", u"", &answer, [&] {
    EXPECT_EQ(box.GetCaption(), u"输入：");
    EXPECT_EQ(VisibleIds(), (std::vector<int>{kInputBoxBarId, kInputBoxRestoreId, kInputBoxClearId, kInputBoxPasteId,
                                              kInputBoxOkId, kInputBoxPromptId, kInputBoxEditorId, kInputBoxCloseId}));
    EXPECT_FALSE(EditorWidget()->isReadOnly());
    EXPECT_EQ(EditorWidget()->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(box.promptBox.GetText(), u"请输入文件类型：");
    EXPECT_EQ(box.closeButton.GetButtonText(), u"取消");
    EditorWidget()->moveCursor(QTextCursor::End);
    QTest::keyClicks(EditorWidget(), "|*.htm");
    Click(box.okButton);
  });
  EXPECT_EQ(r, 1);
  EXPECT_EQ(answer, u"*.txt|*.htm");
  EXPECT_EQ(box.resultText, u"*.txt|*.htm");
  EXPECT_TRUE(hooks.texts.empty()) << "OK never asks";
}

TEST_F(InputBoxTest, CancelAfterEditingClosesWithoutTheQuestion) {
  CWString answer = u"旧值";
  const int r = Show(u"原文", u"", u"标题", &answer, [&] {
    EXPECT_EQ(box.GetCaption(), u"标题");
    QTest::keyClicks(EditorWidget(), "abc");
    Click(box.closeButton);
  });
  EXPECT_EQ(r, 0);
  EXPECT_EQ(answer, u"旧值");
  EXPECT_TRUE(hooks.texts.empty());
}

TEST_F(InputBoxTest, ClosingAnEditedTextAsksWhetherToDiscardIt) {
  CWString answer;
  hooks.answers = {kIdCancel, kIdOk};
  const int r = Show(u"原文", u"", u"", &answer, [&] {
    QTest::keyClicks(EditorWidget(), "abc");
    box.GetWidget()->close();  // the title bar's button
    ASSERT_TRUE(box.HasWindow()) << "Cancel keeps the box open";
    box.GetWidget()->close();
  });
  EXPECT_EQ(r, 0);
  ASSERT_EQ(hooks.texts.size(), 2u);
  EXPECT_EQ(hooks.texts[0], u"内容已经修改，确认要放弃？");
  EXPECT_EQ(hooks.captions[0], u"信息:");
  EXPECT_EQ(hooks.styles[0], 0x3001);
}

TEST_F(InputBoxTest, EscWithTheTextUnchangedClosesWithoutAQuestion) {
  CWString answer;
  const int r = Show(u"原文\r\n第二行", u"", u"", &answer, [&] {
    box.GetWidget()->activateWindow();
    // A loaded machine can take seconds to activate a window.
    ASSERT_TRUE(QTest::qWaitForWindowActive(box.GetWidget(), 20000));
    QTest::keyClick(EditorWidget(), Qt::Key_Escape);
    PumpUntil([&] { return !box.HasWindow(); });
  });
  EXPECT_EQ(r, 0);
  EXPECT_FALSE(box.HasWindow());
  EXPECT_TRUE(hooks.texts.empty());
}

TEST_F(InputBoxTest, ClearPasteAndRestoreAndTheKeptText) {
  CWString answer;
  QGuiApplication::clipboard()->setText(QStringLiteral("剪贴板\n文字"));
  Show(u"开头\r\n的文字", u"", u"", &answer, [&] {
    Click(box.clearButton);
    EXPECT_EQ(box.editor.GetText(), u"");
    Click(box.pasteButton);
    EXPECT_EQ(box.editor.GetText(), u"剪贴板\r\n文字");
    Click(box.restoreButton);
    EXPECT_EQ(box.editor.GetText(), u"开头\r\n的文字");
    QGuiApplication::clipboard()->clear();
    Click(box.pasteButton);
    EXPECT_EQ(box.editor.GetText(), u"") << "an empty clipboard empties the editor";
    QTest::keyClicks(EditorWidget(), "kept");
    Click(box.okButton);
  });
  EXPECT_EQ(answer, u"kept");

  // "-1" opens with the text the editor kept; it is also what "恢复" brings back.
  Show(kInputBoxKeepText, u"", u"", &answer, [&] {
    EXPECT_EQ(box.editor.GetText(), u"kept");
    Click(box.clearButton);
    Click(box.restoreButton);
    EXPECT_EQ(box.editor.GetText(), u"kept");
    box.GetWidget()->close();
  });
  EXPECT_TRUE(hooks.texts.empty()) << "restored to the opening text: nothing to discard";
}

TEST_F(InputBoxTest, DroppedFilesReplaceTheTextWithTheirPathsInBothModes) {
  const std::vector<QString> paths = {QStringLiteral("/tmp/甲.txt"), QStringLiteral("/tmp/b c.htm"),
                                      QStringLiteral("/tmp/目录")};
  auto drop = [&] {
    auto* mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
    mime->setUrls(urls);
    QWidget* target = EditorWidget()->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, mime, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, mime, Qt::LeftButton, {});
    QApplication::sendEvent(target, &dropped);
    delete mime;
  };
  const CWString expected = u"/tmp/甲.txt\r\n/tmp/b c.htm\r\n/tmp/目录";
  CWString answer;
  Show(u"原来的", u"", u"", &answer, [&] {
    drop();
    EXPECT_EQ(box.editor.GetText(), expected);
    Click(box.okButton);
  });
  EXPECT_EQ(answer, expected);
  Show(u"只读", u"", u"", nullptr, [&] {
    drop();
    EXPECT_EQ(box.editor.GetText(), expected) << "a read-only editor takes drops too";
    Click(box.closeButton);
  });
}

TEST_F(InputBoxTest, TheHiddenImportButtonsStillFillTheEditorFromChosenFiles) {
  qzu_test::TempDir dir;
  qzu_test::WriteFileText(dir.path() / "a.txt", "\xEF\xBB\xBFUTF-8 文字");
  qzu_test::WriteFileText(dir.path() / "b.txt", "\xC4\xE3\xBA\xC3");  // GBK 你好
  const CWString folder = CWString::FromSystemPath(dir.str());
  // Runs `act` on the file dialog once it is shown.
  auto onDialog = [](std::function<void(QFileDialog*)> act) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return;
      poll->stop();
      poll->deleteLater();
      act(dialog);
    });
    poll->start();
  };
  // Picks both files, as typed into the dialog's name field.
  auto choose = [&](const char* expectedTitle) {
    onDialog([&, expectedTitle](QFileDialog* dialog) {
      EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(expectedTitle));
      EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
      EXPECT_TRUE(dialog->selectedNameFilter().startsWith(QStringLiteral("全部文件")));
      dialog->setDirectory(QString::fromStdString(dir.str()));
      auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      EXPECT_NE(name, nullptr);
      if (name) name->setText(QStringLiteral("\"a.txt\" \"b.txt\""));
      static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it: the base dispatches
      if (dialog->isVisible()) {
        ADD_FAILURE() << "the dialog refused " << dialog->selectedFiles().join('|').toStdString();
        dialog->reject();
      }
    });
  };
  const char kPathsTitle[] = "导入文件路径（按下Ctrl键保留原来内容，按下Alt键提取文件路径中的文件名）：";
  const char kContentsTitle[] = "导入文件内容（按下Ctrl键保留原来内容）：";
  CWString answer;
  Show(u"原来", u"", u"", &answer, [&] {
    choose(kPathsTitle);
    box.HandleInputBoxClick(&box.importPathsButton);
    EXPECT_EQ(box.editor.GetText(), folder + u"/a.txt\r\n" + folder + u"/b.txt");
    hooks.ctrl = hooks.alt = true;  // keep the text, file names only
    choose(kPathsTitle);
    box.HandleInputBoxClick(&box.importPathsButton);
    EXPECT_EQ(box.editor.GetText(), folder + u"/a.txt\r\n" + folder + u"/b.txt\r\na\r\nb");
    hooks.alt = false;  // Ctrl: contents after the text
    box.editor.SetText(u"前");
    choose(kContentsTitle);
    box.HandleInputBoxClick(&box.importContentsButton);
    EXPECT_EQ(box.editor.GetText(), u"前\r\nUTF-8 文字\r\n你好");
    hooks.ctrl = false;
    choose(kContentsTitle);
    box.HandleInputBoxClick(&box.importContentsButton);
    EXPECT_EQ(box.editor.GetText(), u"UTF-8 文字\r\n你好");
    // A cancelled dialog changes nothing.
    onDialog([](QFileDialog* dialog) { dialog->reject(); });
    box.HandleInputBoxClick(&box.importContentsButton);
    EXPECT_EQ(box.editor.GetText(), u"UTF-8 文字\r\n你好");
    Click(box.okButton);
  });
}

TEST_F(InputBoxTest, LayoutKeepsTheBarAtTheBottomAndTheButtonsRightAtTwoFactors) {
  const CWString prompt =
      u"请输入要批量转换的文件类型，多个类型之间用竖线隔开，例如 *.htm|*.html|*.txt，全部文件用 *.* 表示。"
      u"这一段提示故意写得很长，好让窄窗口里它折成几行。";
  for (double factor : {1.0, 1.5}) {
    SetDpiFactor(factor);
    CWString answer;
    Show(u"", prompt, u"", &answer, [&] {
      // The default size and the scaled children.
      EXPECT_EQ(box.GetWidth(), ScaleByDpiFactor(884)) << factor;
      EXPECT_EQ(box.GetHeight(), ScaleByDpiFactor(610)) << factor;
      EXPECT_EQ(box.okButton.GetWidth(), ScaleByDpiFactor(96));
      EXPECT_EQ(box.okButton.GetHeight(), ScaleByDpiFactor(45));
      EXPECT_EQ(box.importPathsButton.GetLeft(), ScaleByDpiFactor(445));
      EXPECT_EQ(box.buttonBar.GetWidth(), ScaleByDpiFactor(445) + ScaleByDpiFactor(136)) << "fitted to its buttons";
      EXPECT_EQ(box.buttonBar.GetHeight(), ScaleByDpiFactor(45));
      EXPECT_GT(box.cellMetrics.width, 0);
      EXPECT_EQ(box.cellMetrics.right, box.cellMetrics.left + box.cellMetrics.width - 1);
      // The editor takes the focus (it has it whenever the box is the active window).
      EXPECT_EQ(box.GetWidget()->focusWidget(), box.editor.GetWidget());

      auto check = [&](const char* when) {
        const int w = box.GetClientWidth(), h = box.GetClientHeight();
        const int promptHeight = EstimateTextHeight(prompt, w - 12, box.cellMetrics);
        EXPECT_EQ(box.promptBox.GetLeft(), 5) << when;
        EXPECT_EQ(box.promptBox.GetTop(), 5) << when;
        EXPECT_EQ(box.promptBox.GetWidth(), w - 10) << when;
        EXPECT_EQ(box.promptBox.GetHeight(), promptHeight) << when;
        EXPECT_EQ(box.editor.GetTop(), 5 + promptHeight + 5) << when;
        EXPECT_EQ(box.editor.GetWidth(), w - 10) << when;
        EXPECT_EQ(box.buttonBar.GetLeft(), 5) << when;
        EXPECT_EQ(box.buttonBar.GetTop(), box.editor.GetTop() + box.editor.GetHeight() + 5) << when;
        EXPECT_EQ(box.buttonBar.GetTop() + box.buttonBar.GetHeight(), h - 5) << when;
        EXPECT_EQ(box.closeButton.GetLeft() + box.closeButton.GetWidth(), w - 5) << when;
        EXPECT_EQ(box.okButton.GetLeft() + box.okButton.GetWidth(), box.closeButton.GetLeft() - 5) << when;
        const int barMiddle = box.buttonBar.GetTop() + box.buttonBar.GetHeight() / 2;
        EXPECT_EQ(box.closeButton.GetTop(), barMiddle - box.closeButton.GetHeight() / 2) << when;
        EXPECT_EQ(box.okButton.GetTop(), box.closeButton.GetTop()) << when;
        return promptHeight;
      };
      const int narrowPrompt = [&] {
        box.Move(box.GetLeft(), box.GetTop(), ScaleByDpiFactor(500), ScaleByDpiFactor(400));
        PumpUntil([&] { return box.GetClientWidth() == ScaleByDpiFactor(500); });
        return check("narrow");
      }();
      box.Move(box.GetLeft(), box.GetTop(), ScaleByDpiFactor(1200), ScaleByDpiFactor(500));
      PumpUntil([&] { return box.GetClientWidth() == ScaleByDpiFactor(1200); });
      EXPECT_LT(check("wide"), narrowPrompt) << "the prompt re-flows into fewer lines";
      Click(box.closeButton);
    });
  }
}

TEST_F(InputBoxTest, TheBoxIsOwnedByThePublishedMainWindow) {
  CQzuWinForm mainWindow;
  ASSERT_EQ(mainWindow.CreateForm(nullptr, 0, 0, 400, 300), 1);
  SetMainWindowPointer(&mainWindow);
  Show(u"", u"", u"", nullptr, [&] {
    EXPECT_EQ(box.GetWidget()->parentWidget(), mainWindow.GetWidget());
    EXPECT_TRUE(box.GetWidget()->isWindow());
    EXPECT_TRUE(box.GetWidget()->windowFlags() & Qt::WindowStaysOnTopHint);
    // The main window going takes its owned box with it.
    mainWindow.DestroyWindow();
  });
  SetMainWindowPointer(nullptr);
  EXPECT_FALSE(box.HasWindow());
}

TEST(InputBoxObject, CopiesAndStreamsKeepTheValuesAndEqualOnlyItself) {
  rg_TavelkinShuRuKuangLei box;
  box.resultText = u"结果";
  box.okFlag = 1;
  box.cellMetrics.SetSize(7, 17);
  box.editor.SetText(u"编辑的文字");
  box.editor.SetTextMember(u"打开时的文字");
  box.closeButton.SetButtonText(u"关闭");
  box.SetCaption(u"疑点说明");

  rg_TavelkinShuRuKuangLei copy;
  ASSERT_EQ(copy.CopyFrom(box), 1);
  EXPECT_EQ(copy.resultText, u"结果");
  EXPECT_EQ(copy.okFlag, 1);
  EXPECT_EQ(copy.cellMetrics.width, 7);
  EXPECT_EQ(copy.editor.GetText(), u"编辑的文字");
  EXPECT_EQ(copy.closeButton.GetButtonText(), u"关闭");
  EXPECT_FALSE(copy.IsEqual(box));
  EXPECT_TRUE(box.IsEqual(box));
  EXPECT_EQ(copy.CopyFrom(rg_Ombrine_MFCJieMian_base::CQzuWinForm()), 0);

  CQzuMemStream out;
  box.SaveToStream(out);
  ASSERT_TRUE(out.Ok());
  rg_TavelkinShuRuKuangLei loaded;
  CQzuMemStream in(out.Buffer());
  loaded.LoadFromStream(in);
  EXPECT_TRUE(in.Ok());
  EXPECT_EQ(loaded.resultText, u"结果");
  EXPECT_EQ(loaded.cellMetrics.height, 17);
  EXPECT_EQ(loaded.editor.GetTextMember(), u"打开时的文字");  // the editor streams its text member
  EXPECT_EQ(loaded.GetCaption(), u"疑点说明");
  EXPECT_TRUE(loaded.IsKindOf(rg_Ombrine_MFCJieMian_base::CQzuWinForm::StaticClassInfo()));
  EXPECT_STREQ(loaded.GetClassInfo().name, "rg_Tavelkin_MingLingJi::rg_TavelkinShuRuKuangLei");
}
