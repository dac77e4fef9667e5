// File drops on offscreen controls, driven with synthetic drag and drop
// events: one event per dropped item with its count, index, path and
// extension; one record per window; text drops still reaching an editor.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "common/event.h"
#include "framework/qt_text.h"
#include "framework/scintilla_host.h"
#include "framework/win_control.h"
#include "services/file_drop.h"

using rg_Ombrine_MFCJieMian_base::rg_scintilla_edit;
using rg_Tavelkin_MingLingJi::FileDropRecordCount;
using rg_Tavelkin_MingLingJi::rg_TavelkinWenJianTuoFangLei;

namespace {

struct Drop {
  int count, index;
  std::string path, extension;
  CQzuObject* enabler;
  bool operator==(const Drop& o) const {
    return count == o.count && index == o.index && path == o.path && extension == o.extension && enabler == o.enabler;
  }
};

// A failed comparison shows the items, not their bytes.
void PrintTo(const Drop& d, std::ostream* os) {
  *os << "{" << d.count << ", " << d.index << ", \"" << d.path << "\", \"" << d.extension << "\"}";
}

struct DropLog : CQzuObject {
  std::vector<Drop> drops;
};

intptr_t OnDrop(CQzuObject* receiver, CQzuObject* sender, intptr_t, int count, int index, const CWString& path,
                const CWString& extension) {
  static_cast<DropLog*>(receiver)->drops.push_back({count, index, path.ToUtf8(), extension.ToUtf8(), sender});
  return 0;
}

std::unique_ptr<QMimeData> FilesMime(const std::vector<std::string>& paths) {
  auto mime = std::make_unique<QMimeData>();
  QList<QUrl> urls;
  for (const std::string& p : paths) {
    if (p.rfind("http", 0) == 0) urls.append(QUrl(QString::fromStdString(p)));
    else urls.append(QUrl::fromLocalFile(QString::fromStdString(p)));
  }
  mime->setUrls(urls);
  return mime;
}

// Drags `mime` over `target` and drops it there, as the desktop does; true
// when the drop was accepted.
bool DragAndDrop(QWidget* target, const QMimeData* mime) {
  const QPoint pos(5, 5);
  const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
  QDragEnterEvent enter(pos, actions, mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDragMoveEvent move(pos, actions, mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &move);
  QDropEvent drop(QPointF(pos), actions, mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

QWidget* Viewport(CQzuWinControl& control) {
  return qobject_cast<QAbstractScrollArea*>(control.GetWidget())->viewport();
}

class FileDropTest : public ::testing::Test {
 protected:
  void SetUp() override { enabler.dropEvent.Connect(&OnDrop, logRef); }
  DropLog log;
  CQzuReceiverRef logRef = CQzuReceiverRef::Make(&log);
  rg_TavelkinWenJianTuoFangLei enabler;
};

TEST_F(FileDropTest, EachDroppedItemRaisesOneEventWithItsIndexAndExtension) {
  CQzuWinControl control;
  ASSERT_EQ(control.Create(nullptr, 0, 0, 200, 100), 1);
  enabler.EnableFileDrop(control);
  EXPECT_EQ(enabler.GetWindow(), control.GetWidget());
  EXPECT_TRUE(control.GetWidget()->acceptDrops());

  auto mime = FilesMime({"/data/x/notes.txt", "/data/x/Makefile", "/data/文件夹"});
  ASSERT_TRUE(DragAndDrop(control.GetWidget(), mime.get()));
  const std::vector<Drop> expected = {
      {3, 0, "/data/x/notes.txt", ".txt", &enabler},
      {3, 1, "/data/x/Makefile", "", &enabler},
      {3, 2, "/data/文件夹", "", &enabler},
  };
  EXPECT_EQ(log.drops, expected);
}

TEST_F(FileDropTest, ExtensionComesFromTheItemsOwnName) {
  CQzuWinControl control;
  ASSERT_EQ(control.Create(nullptr, 0, 0, 200, 100), 1);
  enabler.EnableFileDrop(control);
  // A link among the items is not a file: it is left out of count and index.
  // A "." in a folder above the item is no extension of it.
  auto mime =
      FilesMime({"/d/archive.tar.gz", "https://example.com/page.html", "/tmp/a.b/notes", "/d/.hidden", "/d/a.b/c.txt"});
  ASSERT_TRUE(DragAndDrop(control.GetWidget(), mime.get()));
  const std::vector<Drop> expected = {
      {4, 0, "/d/archive.tar.gz", ".gz", &enabler},
      {4, 1, "/tmp/a.b/notes", "", &enabler},
      {4, 2, "/d/.hidden", ".hidden", &enabler},
      {4, 3, "/d/a.b/c.txt", ".txt", &enabler},
  };
  EXPECT_EQ(log.drops, expected);

  // Links alone are not taken.
  log.drops.clear();
  auto links = FilesMime({"https://example.com/a.txt"});
  EXPECT_FALSE(DragAndDrop(control.GetWidget(), links.get()));
  EXPECT_TRUE(log.drops.empty());
}

TEST_F(FileDropTest, FirstEnablerKeepsTheWindow) {
  CQzuWinControl control;
  ASSERT_EQ(control.Create(nullptr, 0, 0, 200, 100), 1);
  const int before = FileDropRecordCount();
  enabler.EnableFileDrop(control);
  rg_TavelkinWenJianTuoFangLei second;
  DropLog secondLog;
  CQzuReceiverRef secondRef = CQzuReceiverRef::Make(&secondLog);
  second.dropEvent.Connect(&OnDrop, secondRef);
  second.EnableFileDrop(control);
  enabler.EnableFileDrop(control);
  EXPECT_EQ(FileDropRecordCount(), before + 1);

  auto mime = FilesMime({"/d/one.txt"});
  ASSERT_TRUE(DragAndDrop(control.GetWidget(), mime.get()));
  EXPECT_EQ(log.drops.size(), 1u);
  EXPECT_TRUE(secondLog.drops.empty());
}

TEST_F(FileDropTest, EditorTakesFileDropsOnItsViewportAndStillTakesText) {
  rg_scintilla_edit editor;
  ASSERT_EQ(editor.Create(nullptr, 0, 0, 300, 200), 1);
  editor.SetText(u"abc");
  enabler.EnableFileDrop(editor);

  auto files = FilesMime({"/d/one.txt", "/d/two.docx"});
  ASSERT_TRUE(DragAndDrop(Viewport(editor), files.get()));
  ASSERT_EQ(log.drops.size(), 2u);
  EXPECT_EQ(log.drops[1].extension, ".docx");
  EXPECT_EQ(editor.GetText(), CWString(u"abc"));  // no path typed into the text

  QMimeData text;
  text.setText(QStringLiteral("拖入"));
  EXPECT_TRUE(DragAndDrop(Viewport(editor), &text));
  EXPECT_EQ(log.drops.size(), 2u);
  EXPECT_TRUE(editor.GetText().Contains(u"拖入")) << editor.GetText().ToUtf8();
}

TEST_F(FileDropTest, RecordsGoWithTheirEnablerOrWindow) {
  const int before = FileDropRecordCount();
  CQzuWinControl control;
  ASSERT_EQ(control.Create(nullptr, 0, 0, 200, 100), 1);
  {
    rg_TavelkinWenJianTuoFangLei shortLived;
    shortLived.EnableFileDrop(control);
    EXPECT_EQ(FileDropRecordCount(), before + 1);
  }
  EXPECT_EQ(FileDropRecordCount(), before);
  EXPECT_FALSE(control.GetWidget()->acceptDrops());  // as it was before
  auto mime = FilesMime({"/d/one.txt"});
  EXPECT_FALSE(DragAndDrop(control.GetWidget(), mime.get()));

  // The window may now be enabled by another enabler.
  enabler.EnableFileDrop(control);
  EXPECT_EQ(FileDropRecordCount(), before + 1);
  ASSERT_TRUE(DragAndDrop(control.GetWidget(), mime.get()));
  EXPECT_EQ(log.drops.size(), 1u);

  control.DestroyWindow();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(FileDropRecordCount(), before);
  EXPECT_EQ(enabler.GetWindow(), nullptr);
}

// A procedure the window had before: it still sees every event the drop
// handling does not take, and gets the window back when the enabler goes.
int g_earlierProcEvents = 0;
const QEvent::Type kProbe = static_cast<QEvent::Type>(QEvent::User + 23);
bool EarlierProc(QObject*, QEvent* e) {
  if (e->type() == kProbe || e->type() == QEvent::Drop) ++g_earlierProcEvents;
  return false;
}

TEST_F(FileDropTest, InstallsItsProcedureOverTheWindowsEarlierOne) {
  g_earlierProcEvents = 0;
  CQzuWinControl control;
  ASSERT_EQ(control.Create(nullptr, 0, 0, 200, 100), 1);
  SetWindowProc(control.GetWidget(), &EarlierProc);
  {
    rg_TavelkinWenJianTuoFangLei shortLived;
    DropLog shortLog;
    CQzuReceiverRef shortRef = CQzuReceiverRef::Make(&shortLog);
    shortLived.dropEvent.Connect(&OnDrop, shortRef);
    shortLived.EnableFileDrop(control);
    EXPECT_EQ(GetWindowProc(control.GetWidget()), &rg_Tavelkin_MingLingJi::FileDropWindowProc);

    auto mime = FilesMime({"/d/one.txt"});
    ASSERT_TRUE(DragAndDrop(control.GetWidget(), mime.get()));
    EXPECT_EQ(shortLog.drops.size(), 1u);
    EXPECT_EQ(g_earlierProcEvents, 0);  // the drop was taken
    QEvent probe(kProbe);
    QCoreApplication::sendEvent(control.GetWidget(), &probe);
    EXPECT_EQ(g_earlierProcEvents, 1);
  }
  EXPECT_EQ(GetWindowProc(control.GetWidget()), &EarlierProc);
  SetWindowProc(control.GetWidget(), nullptr);
}

}  // namespace
