// Qt's own texts after start-up: the file dialog and the message box's
// standard buttons speak Chinese whatever the locale, and a missing or broken
// translation leaves them in English without stopping the start.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QRegularExpression>
#include <QTreeView>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <limits>
#include <map>

#include "framework/application_startup.h"
#include "framework/file_dialog.h"
#include "framework/file_dialog_columns.h"
#include "framework/qt_text.h"
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

// What the file dialog's detail view shows for the folder `folder`: the
// column headers, each row's texts by name, and per detail column whether
// its width holds its widest text.
struct DetailView {
  QStringList headers;
  std::map<QString, QStringList> rows;
  std::vector<bool> wideEnough;
};
DetailView FileDialogDetails(const QString& folder, int expectedRows) {
  DetailView seen;
  bool done = false;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      if (!dialog || !dialog->isVisible() || done) continue;
      auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
      if (!view) continue;
      QAbstractItemModel* model = view->model();
      const QModelIndex root = view->rootIndex();
      if (model->rowCount(root) < expectedRows) continue;
      done = true;
      qzu_test::PumpFor(50);  // the columns follow the rows' texts
      for (int c = 0; c < model->columnCount(root); ++c)
        seen.headers << model->headerData(c, Qt::Horizontal).toString();
      for (int r = 0; r < model->rowCount(root); ++r) {
        QStringList texts;
        for (int c = 0; c < 4; ++c) texts << model->index(r, c, root).data().toString();
        seen.rows[texts.front()] = texts;
      }
      for (int c = 1; c < 4; ++c) {
        bool fits = view->header()->sectionSize(c) >= static_cast<QAbstractItemView*>(view)->sizeHintForColumn(c);
        for (int r = 0; r < model->rowCount(root); ++r)
          fits = fits && view->header()->sectionSize(c) >
                             view->fontMetrics().horizontalAdvance(model->index(r, c, root).data().toString());
        seen.wideEnough.push_back(fits);
      }
      dialog->reject();
    }
  });
  poll.start();
  rg_Ombrine_MFCJieMian_base::rg_TongYongDuiHuaKuang dialog;
  dialog.title = u"选择要转换的多个文件：";
  dialog.filter = u"全部文件|*.*";
  dialog.multiSelect = 1;
  dialog.initialFolder = FromQString(folder);
  EXPECT_FALSE(dialog.Show(nullptr));
  poll.stop();
  EXPECT_TRUE(done) << "the dialog never listed the folder";
  return seen;
}

}  // namespace

TEST_F(QtTranslationTest, TheFileDialogNamesTypesSizesAndDatesInChinese) {
  ASSERT_NE(QLocale::system().language(), QLocale::Chinese);
  InitializeFramework();
  qzu_test::TempDir folder;
  const QString path = QString::fromStdString(folder.str());
  ASSERT_TRUE(QDir(path).mkdir(QStringLiteral("子文件夹")));
  qzu_test::WriteFile(folder.path() / "说明.txt", std::vector<uint8_t>(27, 'a'));
  qzu_test::WriteFile(folder.path() / "图片.PNG", std::vector<uint8_t>(5000, 0));
  qzu_test::WriteFile(folder.path() / "README", std::vector<uint8_t>(3, 'b'));

  const DetailView view = FileDialogDetails(path, 4);
  EXPECT_EQ(view.headers, QStringList({"名称", "大小", "类型", "修改日期"}));
  const struct {
    const char* name;
    const char* size;
    const char* type;
  } rows[] = {
      {"子文件夹", "", "文件夹"},
      {"说明.txt", "27 字节", "TXT 文件"},
      {"图片.PNG", "4.88 千字节", "PNG 文件"},
      {"README", "3 字节", "文件"},
  };
  const QRegularExpression chineseDate(QStringLiteral("^\\d{4}/\\d{1,2}/\\d{1,2} \\d{1,2}:\\d{2}$"));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const auto found = view.rows.find(QString::fromUtf8(row.name));
    ASSERT_NE(found, view.rows.end());
    EXPECT_EQ(found->second[1], QString::fromUtf8(row.size));
    EXPECT_EQ(found->second[2], QString::fromUtf8(row.type));
    EXPECT_TRUE(chineseDate.match(found->second[3]).hasMatch()) << found->second[3].toStdString();
  }
  EXPECT_EQ(view.wideEnough, std::vector<bool>({true, true, true}));
}

// Every size in the same Chinese form: the count of bytes below 1024, two
// decimals of the unit above.
TEST_F(QtTranslationTest, FileSizesAreWrittenWithChineseUnits) {
  InitializeFramework();
  const struct {
    qint64 bytes;
    const char* text;
  } rows[] = {
      {0, "0 字节"},
      {38, "38 字节"},
      {1024, "1.00 千字节"},
      {2048, "2.00 千字节"},
      {1048576, "1.00 兆字节"},
      {2998927, "2.86 兆字节"},
      {qint64(5) << 30, "5.00 吉字节"},
      {qint64(3) << 40, "3.00 太字节"},
      {qint64(1) << 50, "1.00 拍字节"},
      {std::numeric_limits<qint64>::max(), "8.00 艾字节"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(FileDialogColumns::SizeText(row.bytes), QString::fromUtf8(row.text)) << row.bytes;
}

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
