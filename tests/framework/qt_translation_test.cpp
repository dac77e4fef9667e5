// Qt's own texts after start-up: the file dialog and the message box's
// standard buttons speak Chinese whatever the locale, and a missing or broken
// translation leaves them in English without stopping the start.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>

#include <functional>

#include "framework/application_startup.h"
#include "framework/file_dialog.h"
#include "platform/hooks.h"
#include "qt_pump.h"
#include "test_support.h"

namespace {

// Opens a modal dialog of type D with `open`; once it is up, takes the texts
// of its buttons and labels and closes it with `close`.
template <class D>
QStringList TextsOfModal(const std::function<void()>& open, const std::function<void(D*)>& close) {
  QStringList texts;
  bool seen = false;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<D*>(w);
      if (!dialog || !dialog->isVisible() || seen) continue;
      seen = true;
      for (QAbstractButton* b : dialog->template findChildren<QAbstractButton*>())
        if (!b->text().isEmpty()) texts << b->text();
      for (QLabel* l : dialog->template findChildren<QLabel*>())
        if (!l->text().isEmpty()) texts << l->text();
      close(dialog);
    }
  });
  poll.start();
  open();
  poll.stop();
  EXPECT_TRUE(seen) << "the dialog never showed";
  return texts;
}

QStringList OpenFileDialogTexts() {
  return TextsOfModal<QFileDialog>(
      [] {
        rg_Ombrine_MFCJieMian_base::rg_TongYongDuiHuaKuang dialog;
        dialog.title = u"选择要转换的多个文件：";
        dialog.filter = u"支持的文件|*.htm;*.html;*.txt|全部文件|*.*";
        dialog.multiSelect = 1;
        EXPECT_FALSE(dialog.Show(nullptr));
      },
      [](QFileDialog* d) { d->reject(); });
}

// The captions of a framework message box with button set `style`.
QStringList MessageBoxTexts(int style) {
  return TextsOfModal<QMessageBox>([style] { ShowMessageBox(u"继续？", u"信息:", style); },
                                   [](QMessageBox* box) { box->buttons().front()->click(); });
}

class QtTranslationTest : public ::testing::Test {
 protected:
  // The suite's other tests see Qt as it was: untranslated, default hooks.
  void TearDown() override {
    InstallQtTranslations(QString());
    InstallPlatformHooks(nullptr);
  }
};

}  // namespace

TEST_F(QtTranslationTest, StartUpPutsTheFileDialogAndStandardButtonsInChinese) {
  // The locale the tests run in is not Chinese, so the texts below come from
  // the start-up and not from the locale.
  ASSERT_NE(QLocale::system().language(), QLocale::Chinese);
  InitializeFramework();

  const QStringList dialog = OpenFileDialogTexts();
  for (const char* text : {"打开(&O)", "取消", "文件名称(&N)：", "文件类型：", "查找范围："})
    EXPECT_TRUE(dialog.contains(QString::fromUtf8(text))) << text << " not in " << dialog.join('|').toStdString();
  EXPECT_FALSE(dialog.contains(QStringLiteral("&Open")));

  const struct {
    int style;
    std::vector<const char*> captions;
  } boxes[] = {
      {kMbOk, {"确定"}},
      {kMbOkCancel, {"确定", "取消"}},
      {kMbYesNoCancel, {"是(&Y)", "否(&N)", "取消"}},
      {kMbRetryCancel, {"重试", "取消"}},
      {kMbAbortRetryIgnore, {"中止", "重试", "忽略"}},
  };
  for (const auto& box : boxes) {
    const QStringList texts = MessageBoxTexts(box.style);
    for (const char* caption : box.captions)
      EXPECT_TRUE(texts.contains(QString::fromUtf8(caption)))
          << "style " << box.style << ": " << caption << " not in " << texts.join('|').toStdString();
  }
}

TEST_F(QtTranslationTest, StartsInEnglishForQtWhenNoTranslationLoads) {
  qzu_test::TempDir empty, broken;
  QFile bad(QString::fromStdString(broken.str()) + QStringLiteral("/qtbase_zh_CN.qm"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("not a translation");
  bad.close();
  const struct {
    const char* name;
    QString folder;
  } cases[] = {
      {"empty folder", QString::fromStdString(empty.str())},
      {"broken file", QString::fromStdString(broken.str())},
      {"missing folder", QString::fromStdString(empty.str()) + QStringLiteral("/absent")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // Chinese first, so the case shows the earlier translation goes too.
    ASSERT_EQ(InstallQtTranslations(QtTranslationsFolder()), 1);
    InitializeFramework(c.folder);
    EXPECT_EQ(InstallQtTranslations(c.folder), 0);
    EXPECT_TRUE(SetClipboardText(u"钩子"));  // the rest of the start-up happened
    EXPECT_EQ(GetClipboardText(), u"钩子");

    EXPECT_TRUE(OpenFileDialogTexts().contains(QStringLiteral("&Open")));
    // OK keeps the caption the program's messages call it by.
    const QStringList texts = MessageBoxTexts(kMbYesNoCancel);
    EXPECT_TRUE(texts.contains(QStringLiteral("&Yes"))) << texts.join('|').toStdString();
    EXPECT_TRUE(MessageBoxTexts(kMbOkCancel).contains(QStringLiteral("确定")));
  }
}
