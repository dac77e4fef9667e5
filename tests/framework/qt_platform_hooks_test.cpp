// The Qt implementations of the platform hooks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QUrl>

#include <filesystem>

#include "framework/qt_platform_hooks.h"
#include "test_support.h"

namespace {

class QtHooksTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallQtPlatformHooks(); }
  void TearDown() override { InstallPlatformHooks(nullptr); }
};

// Clicks `button` of the message box once it is up.
void AnswerMessageBox(QMessageBox::StandardButton button, QString* title) {
  QTimer::singleShot(20, [button, title] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (!box || !box->isVisible()) continue;
      *title = box->windowTitle();
      if (QAbstractButton* b = box->button(button)) b->click();
    }
  });
}

// Stands in for the desktop's handler of a URL scheme and keeps what it got.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> urls;

 public slots:
  void Open(const QUrl& url) { urls.append(url); }
};

// PATH set to one folder for the life of the guard: the programs the hooks
// find are the test's own, or none.
class PathGuard {
 public:
  explicit PathGuard(const std::filesystem::path& folder) : m_saved(qgetenv("PATH")) {
    qputenv("PATH", QByteArray::fromStdString(folder.string()));
  }
  ~PathGuard() { qputenv("PATH", m_saved); }

 private:
  QByteArray m_saved;
};

}  // namespace

TEST_F(QtHooksTest, ClipboardRoundTripKeepsUnicode) {
  const CWString text = u"中文 text 😀\r\n第二行";
  ASSERT_TRUE(SetClipboardText(text));
  EXPECT_EQ(GetClipboardText(), text);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf16(text.GetBuffer(), text.Length()));
  QGuiApplication::clipboard()->setText(QStringLiteral("从别处来"));
  EXPECT_EQ(GetClipboardText(), u"从别处来");
}

TEST_F(QtHooksTest, MessageBoxUsesTheCaptionAndReturnsTheChosenButton) {
  QString title;
  AnswerMessageBox(QMessageBox::Cancel, &title);
  EXPECT_EQ(ShowMessageBox(u"内容已经修改，确认要放弃？", u"信息:", 0x3001), kIdCancel);
  EXPECT_EQ(title, QStringLiteral("信息:"));
  AnswerMessageBox(QMessageBox::Yes, &title);
  EXPECT_EQ(ShowMessageBox(u"继续？", u"", kMbYesNo), kIdYes);
  EXPECT_EQ(title, QStringLiteral("信息:"));  // an empty caption shows the usual one
  AnswerMessageBox(QMessageBox::Retry, &title);
  EXPECT_EQ(ShowMessageBox(u"写入失败", u"信息:", kMbAbortRetryIgnore), kIdRetry);
}

TEST_F(QtHooksTest, AMessageBoxWhoseOwnerIsDestroyedReadsAsClosed) {
  auto* owner = new QWidget;
  owner->show();
  QApplication::setActiveWindow(owner);
  ASSERT_EQ(QApplication::activeWindow(), owner);
  QTimer::singleShot(20, owner, [owner] { delete owner; });
  EXPECT_EQ(ShowMessageBox(u"写入失败", u"信息:", kMbOkCancel), kIdCancel);
  // The next box is shown and answered as usual.
  QString title;
  AnswerMessageBox(QMessageBox::Ok, &title);
  EXPECT_EQ(ShowMessageBox(u"完成", u"提示", 0), kIdOk);
  EXPECT_EQ(title, QStringLiteral("提示"));
}

TEST_F(QtHooksTest, ShellOpenReportsFailureWithoutADesktop) {
  qzu_test::TempDir noPrograms;
  PathGuard path(noPrograms.path());
  EXPECT_FALSE(PlatformHooks().ShellOpen(u"http://example.invalid/", CWString()));
  EXPECT_FALSE(PlatformHooks().ShellOpen(CWString(), CWString()));
}

TEST_F(QtHooksTest, ShellOpenHandsTheAddressToTheDesktopsHandler) {
  qzu_test::TempDir noPrograms;
  PathGuard path(noPrograms.path());
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler(QStringLiteral("qzutest"), &catcher, "Open");
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
  EXPECT_TRUE(PlatformHooks().ShellOpen(u"qzutest://host/文件夹?a=1", CWString()));
  ASSERT_EQ(catcher.urls.size(), 1);
  EXPECT_EQ(catcher.urls[0].scheme(), QStringLiteral("qzutest"));
  EXPECT_EQ(catcher.urls[0].path(), QStringLiteral("/文件夹"));
  EXPECT_EQ(catcher.urls[0].query(), QStringLiteral("a=1"));
  // An existing file goes to the handler of local files, by its whole path.
  qzu_test::TempDir dir;
  const auto file = dir.path() / "结果 1.txt";
  qzu_test::WriteFile(file, {'x'});
  EXPECT_TRUE(PlatformHooks().ShellOpen(CWString::FromUtf8(file.string()), CWString()));
  ASSERT_EQ(catcher.urls.size(), 2);
  EXPECT_TRUE(catcher.urls[1].isLocalFile());
  EXPECT_EQ(catcher.urls[1].toLocalFile().toStdString(), file.string());
  QDesktopServices::unsetUrlHandler(QStringLiteral("qzutest"));
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

// Where xdg-open exists its exit status is believed: a failure to open
// (3: no handler, 4: the handler failed) is reported, not left to the
// standard error. The stand-in on PATH (shell built-ins only: PATH holds
// nothing else) keeps what it got and exits with the code in the file
// "code" beside it.
TEST_F(QtHooksTest, ShellOpenBelievesXdgOpensExitStatus) {
  qzu_test::TempDir bin;
  qzu_test::WriteFileText(bin.path() / "xdg-open",
                          "#!/bin/sh\nd=${0%/*}\nprintf '%s\\n' \"$1\" >> \"$d/got\"\nread code < \"$d/code\"\nexit $code\n");
  std::filesystem::permissions(bin.path() / "xdg-open", std::filesystem::perms::owner_all);
  PathGuard path(bin.path());
  const auto file = bin.path() / "结果 1.html";
  qzu_test::WriteFileText(file, "x");
  const struct {
    const char* code;
    bool opened;
  } cases[] = {{"0", true}, {"3", false}, {"4", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    qzu_test::WriteFileText(bin.path() / "code", c.code);
    std::filesystem::remove(bin.path() / "got");
    EXPECT_EQ(PlatformHooks().ShellOpen(u"https://example.org/路径?a=1", CWString()), c.opened);
    EXPECT_EQ(PlatformHooks().ShellOpen(CWString::FromUtf8(file.string()), CWString()), c.opened);
    EXPECT_EQ(qzu_test::ReadFileText(bin.path() / "got"),
              "https://example.org/%E8%B7%AF%E5%BE%84?a=1\n" + file.string() + "\n");
  }
}

TEST_F(QtHooksTest, RecycleBinTakesTheFileIntoTheUsersTrash) {
  qzu_test::TempDir dir;
  const auto file = dir.path() / "删除我.txt";
  qzu_test::WriteFile(file, {'x'});
  // The data folder missing is the case Qt gets wrong: it must be made first.
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  QDir(data).removeRecursively();
  ASSERT_TRUE(PlatformHooks().MoveToRecycleBin(CWString::FromUtf8(file.string())));
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(QFile::exists(data + QStringLiteral("/Trash/files/删除我.txt")));
  EXPECT_FALSE(PlatformHooks().MoveToRecycleBin(CWString::FromUtf8(file.string())));  // already gone
}

TEST_F(QtHooksTest, SpecialFoldersComeFromTheDesktop) {
  EXPECT_FALSE(PlatformHooks().SpecialFolderPath(SpecialFolder::Temporary).IsEmpty());
  EXPECT_EQ(PlatformHooks().SpecialFolderPath(SpecialFolder::Home).ToUtf8(), QDir::homePath().toStdString());
}

#include "qt_platform_hooks_test.moc"

// A message laid out narrower than its lines: a path wraps only after a
// "/", a listed name goes on under its own start, and the text reads the
// same without the marks that steer the breaks.
TEST(MessageBoxText, PathsWrapAtSeparatorsAndListedLinesHangUnderTheirStart) {
  const QString message = QStringLiteral(
      "失败的文件:\r\n  资料/转换结果/第二层文件夹/一个长文件名.txt\r\n确定后可以打开转换结果所在目录：/tmp/批量/转换结果");
  const int spaceWidth = 4;
  for (const int width : {120, 160, 200, 260}) {
    SCOPED_TRACE(width);
    QTextDocument document;
    document.setDocumentMargin(0);
    document.setHtml(MessageBoxHtml(message, spaceWidth));
    document.setTextWidth(width);
    ASSERT_GT(document.size().height(), 0);  // laid out
    QStringList lines;
    int wrapped = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
      QString plain = block.text();
      plain.remove(QChar(0x2060)).remove(QChar(0x200B));
      lines << plain;
      const QTextLayout* layout = block.layout();
      for (int i = 1; i < layout->lineCount(); ++i) {
        ++wrapped;
        // Inside a path the break comes after a "/", never between two
        // characters of one name (prose breaks as Chinese text does).
        QString before = block.text().left(layout->lineAt(i).textStart());
        QString after = block.text().mid(layout->lineAt(i).textStart());
        for (QString* part : {&before, &after}) part->remove(QChar(0x2060)).remove(QChar(0x200B));
        const qsizetype runStart = std::max(before.lastIndexOf(u' '), before.lastIndexOf(u'：')) + 1;
        const QRegularExpression runEnds(QStringLiteral("[ ：]"));
        const qsizetype runEnd = after.indexOf(runEnds);
        const QString run = before.mid(runStart) + (runEnd < 0 ? after : after.left(runEnd));
        if (run.contains(u'/')) EXPECT_TRUE(before.endsWith(u'/')) << before.toStdString();
        else EXPECT_EQ(block.blockNumber(), 2) << "only the prose line breaks outside a path";
        EXPECT_EQ(layout->lineAt(i).x(), layout->lineAt(0).x());
      }
    }
    EXPECT_EQ(lines, QStringList({QStringLiteral("失败的文件:"),
                                  QStringLiteral("资料/转换结果/第二层文件夹/一个长文件名.txt"),
                                  QStringLiteral("确定后可以打开转换结果所在目录：/tmp/批量/转换结果")}));
    EXPECT_GE(wrapped, 1);
    // The listed line stands in by its two spaces.
    EXPECT_EQ(document.begin().next().blockFormat().leftMargin(), 2 * spaceWidth);
    EXPECT_EQ(document.begin().blockFormat().leftMargin(), 0);
  }
}
