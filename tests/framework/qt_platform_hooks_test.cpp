// The Qt implementations of the platform hooks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

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

TEST_F(QtHooksTest, ShellOpenReportsFailureWithoutADesktop) {
  EXPECT_FALSE(PlatformHooks().ShellOpen(u"http://example.invalid/", CWString()));
  EXPECT_FALSE(PlatformHooks().ShellOpen(CWString(), CWString()));
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
