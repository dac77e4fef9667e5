// The folder-choice dialog driven offscreen over the temporary folder tree:
// what it returns for OK on a chosen or typed path and after a new folder's
// rename, what OK says on a missing or relative path, for Cancel and for the
// window's own close; the start folder with and without
// its separator; paste; drops of a file and of a folder; its children.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDropEvent>
#include <QMimeData>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <functional>

#include "folder_tree_test_util.h"
#include "foldertree/folder_choice_dialog.h"
#include "framework/screen_area.h"
#include "framework/window_fit.h"

namespace {

using namespace qzu_test;
using rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu::kBatchFolderPrompt;
using rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu::rg_TavelkinLiuLanWenJianGaLei;
using Dialog = rg_TavelkinLiuLanWenJianGaLei;

class FolderChoiceDialog : public ::testing::Test {
 protected:
  // Shows a new dialog opened at `start`; `act` runs inside it once its
  // loop runs, its tree has its roots and the start folder was gone to. The
  // dialog's result. A dialog still open after ten seconds is closed and
  // counts as a failure, so that a test never hangs.
  CWString Run(const CWString& start, const std::function<void(Dialog&)>& act) {
    Dialog dialog;
    bool acted = false;
    QTimer poll, watchdog;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      // The buttons process pending events while they first draw, inside the
      // dialog's show: an end posted then would come before its loop runs.
      // So the test acts only from inside that loop.
      QDialog* envelope = dialog.GetEnvelope();
      if (acted || QThread::currentThread()->loopLevel() == 0 || !envelope || !envelope->isVisible() ||
          !dialog.folderTree.iconsLoaded || dialog.folderTree.TreeBox().Model().GetRowCount() == 0 ||
          !dialog.startFolder.IsEmpty())
        return;
      acted = true;
      poll.stop();
      act(dialog);
    });
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
      ADD_FAILURE() << "the dialog did not end";
      if (dialog.GetEnvelope()) dialog.GetEnvelope()->reject();
    });
    poll.start(5);
    watchdog.setSingleShot(true);
    watchdog.start(10000);
    const CWString result = dialog.ShowFolderChoiceDialog(kBatchFolderPrompt, start);
    EXPECT_TRUE(acted);
    return result;
  }
  static void Click(Dialog::Button& button) {
    QTest::mouseClick(button.Display().GetWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  }
  static void Drop(Dialog& d, const fs::path& item) {
    QWidget* target = d.folderTree.TreeBox().Display().GetWidget();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(item.string()))});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent dropped(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
  }

  FakeSystem system;
  fs::path docs = system.usb / "docs";
};

TEST_F(FolderChoiceDialog, OkReturnsTheChosenFolderWithItsSeparator) {
  for (const CWString& start : {P(docs), F(docs)}) {
    const CWString result = Run(start, [&](Dialog& d) {
      EXPECT_EQ(d.GetEnvelope()->windowTitle(), QStringLiteral("选择文件夹"));
      EXPECT_EQ(d.hintLabel.GetCaption(), kBatchFolderPrompt);
      EXPECT_EQ(d.folderTree.TreeBox().checkBoxes, 0);
      EXPECT_EQ(d.folderTree.GetSelectedFolderPath(), F(docs));
      EXPECT_EQ(d.pathBox.GetText(), F(docs));
      Click(d.okButton);
    });
    EXPECT_EQ(result, F(docs)) << start.ToUtf8();
  }
}

TEST_F(FolderChoiceDialog, OkReturnsATypedPathAsTypedWhenItExists) {
  const struct {
    CWString typed;
    CWString result;
  } cases[] = {
      {P(docs), P(docs)},                                // without a separator
      {P(docs / "readme.txt"), P(docs / "readme.txt")},  // a file
  };
  for (const auto& c : cases) {
    const CWString result = Run(CWString(), [&](Dialog& d) {
      d.pathBox.SetText(c.typed);
      Click(d.okButton);
    });
    EXPECT_EQ(result, c.result) << c.typed.ToUtf8();
  }
}

// OK with a path that names nothing says so and keeps the dialog open.
TEST_F(FolderChoiceDialog, OkWithAPathThatDoesNotExistSaysSoAndStaysOpen) {
  for (const CWString& typed : {P(docs / "nope"), CWString(u"我的电脑"), CWString(u"home"), CWString()}) {
    system.messages.clear();
    const CWString result = Run(CWString(), [&](Dialog& d) {
      d.pathBox.SetText(typed);
      Click(d.okButton);
      EXPECT_TRUE(d.GetEnvelope()->isVisible());
      EXPECT_EQ(system.messages, (std::vector<std::string>{"信息: 文件夹不存在：" + typed.ToUtf8()}));
      Click(d.cancelButton);
    });
    EXPECT_EQ(result, CWString()) << typed.ToUtf8();
  }
}

// 新建 makes a folder and starts its rename; the path box follows the rename,
// whether it ends with Enter or with the click on OK.
TEST_F(FolderChoiceDialog, AfterNewFolderAndRenameOkReturnsTheRenamedFolder) {
  const struct {
    const char* name;
    bool enter;
  } cases[] = {{"报表", true}, {"汇总", false}};
  for (const auto& c : cases) {
    const CWString name = CWString::FromUtf8(c.name);
    const CWString result = Run(F(docs), [&](Dialog& d) {
      Click(d.newFolderButton);
      rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinShuXingKuang& box = d.folderTree.TreeBox();
      EXPECT_TRUE(box.RenameField().IsVisible());
      EXPECT_TRUE(d.pathBox.GetText().StartsWith(F(docs) + u"新文件夹")) << d.pathBox.GetText().ToUtf8();
      box.RenameField().SetText(name);
      if (c.enter) {
        QTest::keyClick(box.RenameField().GetWidget(), Qt::Key_Return);
        EXPECT_EQ(d.pathBox.GetText(), F(docs / c.name));
      }
      Click(d.okButton);
    });
    EXPECT_EQ(result, F(docs / c.name)) << c.name;
    EXPECT_TRUE(fs::is_directory(docs / c.name));
    EXPECT_TRUE(system.messages.empty());
  }
}

TEST_F(FolderChoiceDialog, CancelAndTheWindowsCloseReturnNothing) {
  EXPECT_EQ(Run(F(docs),
                [](Dialog& d) {
                  EXPECT_FALSE(d.pathBox.GetText().IsEmpty());
                  Click(d.cancelButton);
                }),
            CWString());
  EXPECT_EQ(Run(F(docs), [](Dialog& d) { d.GetEnvelope()->reject(); }), CWString());
}

TEST_F(FolderChoiceDialog, PasteOpensTheTreeAtAnExistingPath) {
  system.clipboard = P(docs / "2024");
  EXPECT_EQ(Run(CWString(),
                [&](Dialog& d) {
                  Click(d.pasteButton);
                  EXPECT_EQ(d.folderTree.GetSelectedFolderPath(), F(docs / "2024"));
                  EXPECT_EQ(d.pathBox.GetText(), F(docs / "2024"));
                  Click(d.okButton);
                }),
            F(docs / "2024"));
  // A text that names nothing stays in the path box; the tree is left alone.
  system.clipboard = u"/no/such/folder";
  EXPECT_EQ(Run(F(docs),
                [&](Dialog& d) {
                  Click(d.pasteButton);
                  EXPECT_EQ(d.pathBox.GetText(), u"/no/such/folder");
                  EXPECT_EQ(d.folderTree.GetSelectedFolderPath(), F(docs));
                  Click(d.cancelButton);
                }),
            CWString());
}

TEST_F(FolderChoiceDialog, ADropGoesToTheFolderHoldingTheItem) {
  for (const fs::path& item : {docs / "readme.txt", docs / "2024"}) {
    EXPECT_EQ(Run(CWString(),
                  [&](Dialog& d) {
                    Drop(d, item);
                    EXPECT_EQ(d.folderTree.GetSelectedFolderPath(), F(docs));
                    Click(d.okButton);
                  }),
              F(docs))
        << item;
  }
}

// On a low screen the dialog fits the available area (with room for the
// window frame) by a shorter tree, and its button row stays inside it; on a
// screen with room it keeps its design size.
TEST_F(FolderChoiceDialog, ItFitsTheScreensAvailableArea) {
  const struct {
    QSize area;
    QSize dialog;      // its client size
    int treeHeight;
  } cases[] = {
      {QSize(1600, 1000), QSize(562, 606), 424},
      {QSize(800, 600), QSize(562, 600 - FrameAllowance(1.0).height()), 424 - (606 - 600 + FrameAllowance(1.0).height())},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.area.height());
    SetAvailableScreenArea(QRect(QPoint(0, 0), c.area));
    Run(CWString(), [&](Dialog& d) {
      QWidget* envelope = d.GetEnvelope();
      EXPECT_EQ(envelope->size(), c.dialog);
      EXPECT_EQ(d.folderTree.GetWidget()->height(), c.treeHeight);
      for (Dialog::Button* b : {&d.okButton, &d.cancelButton, &d.newFolderButton}) {
        const QRect r = b->GetWidget()->geometry();
        EXPECT_EQ(r.size(), QSize(136, 48));
        EXPECT_LE(r.bottom(), envelope->height() - 1);
        EXPECT_EQ(envelope->height() - r.bottom() - 1, 606 - 542 - 48) << "the margin below the buttons";
      }
      EXPECT_EQ(d.pathBox.GetWidget()->geometry().top(), d.folderTree.GetWidget()->geometry().bottom() + 1 + 9);
      Click(d.cancelButton);
    });
  }
  SetAvailableScreenArea(QRect());
}

}  // namespace
