// Batch runs through the real main window, offscreen, on temporary trees:
// drops of files and folders on the batch buttons, a click with the folder
// choice or (Ctrl held) the file dialog, stops by a click or a drop from
// inside the message pump, a close in the middle, the direction a batch
// keeps, failed files in the summary, drops on the input editor, and the
// summary with its answer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/batch_texts.h"
#include "batch_window_fixture.h"

using namespace rg_Ombrine_app;
namespace fs = std::filesystem;
using qzu_test::PumpUntil;

namespace {

using qzu_test::Drop;
using qzu_test::Gbk;
using qzu_test::kBatchText;
using qzu_test::MakeGbkFile;
using qzu_test::Utf8Result;
using qzu_test::W;

using BatchWindow = qzu_test::BatchWindowFixture;

std::string Read(const fs::path& p) { return qzu_test::ReadFileText(p); }

TEST_F(BatchWindow, DroppedFilesConvertUnderTheirFolderAndTheSummaryOffersIt) {
  const fs::path p = tree.path() / "P";
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) MakeGbkFile(p / name);
  struct Row {
    int answer;
    bool opens;
  } rows[] = {{kIdOk, true}, {kIdCancel, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.answer);
    hooks.boxes.clear();
    hooks.opened.clear();
    hooks.answer = row.answer;
    DropOn(window->BatchEncodeButton, {p / "a.txt", p / "b.txt", p / "c.txt"});

    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
      EXPECT_EQ(Read(p / "转换结果" / name), Utf8Result()) << name;
      EXPECT_EQ(Read(p / name), Gbk(kBatchText)) << name;
    }
    EXPECT_EQ(window->BatchRoot, W(p));
    ASSERT_EQ(hooks.boxes.size(), 1u);
    const std::u16string text = hooks.boxes[0].text.Str();
    EXPECT_EQ(text.rfind(u"已转换 3 个！用时 ", 0), 0u) << hooks.boxes[0].text.ToUtf8();
    const CWString tail = u"\r\n确定后可以打开转换结果所在目录：" + W(p / "转换结果");
    EXPECT_TRUE(hooks.boxes[0].text.EndsWith(tail.View())) << hooks.boxes[0].text.ToUtf8();
    EXPECT_EQ(hooks.boxes[0].caption, u"信息:");
    EXPECT_EQ(hooks.boxes[0].style, 0x3041);
    EXPECT_EQ(hooks.opened, row.opens ? std::vector<CWString>{W(p / "转换结果")} : std::vector<CWString>{});
    // Idle again: the caption of the function, the plain title.
    EXPECT_FALSE(window->BatchRunning);
    EXPECT_EQ(window->BatchEncodeButton.GetButtonText(), u"批量转码");
    EXPECT_EQ(window->GetCaption(), title);
  }
}

TEST_F(BatchWindow, DroppedFolderWalksItsTreeIntoTheResultsOfItsParent) {
  const fs::path p = tree.path() / "P";
  const fs::path f = p / "F";
  MakeGbkFile(f / "x.txt");
  MakeGbkFile(f / "s" / "y.txt");
  MakeGbkFile(f / "skip.dat");
  // Results of an earlier batch inside the folder are never converted again.
  MakeGbkFile(f / "转换结果" / "old.txt");
  struct Row {
    bool subFolders;
    bool deepConverted;
  } rows[] = {{false, false}, {true, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.subFolders);
    fs::remove_all(p / "转换结果");
    window->WalkSubfoldersCheck.SetButtonChecked(row.subFolders ? 1 : 0);
    hooks.boxes.clear();
    DropOn(window->BatchEncodeButton, {f});

    EXPECT_EQ(window->BatchRoot, W(p));
    EXPECT_EQ(Read(p / "转换结果" / "F" / "x.txt"), Utf8Result());
    EXPECT_EQ(fs::exists(p / "转换结果" / "F" / "s" / "y.txt"), row.deepConverted);
    EXPECT_FALSE(fs::exists(p / "转换结果" / "F" / "skip.dat"));
    EXPECT_FALSE(fs::exists(p / "转换结果" / "F" / "转换结果"));
    ASSERT_EQ(hooks.boxes.size(), 1u);
    EXPECT_EQ(hooks.boxes[0].text.Str().rfind(row.subFolders ? u"已转换 2 个！" : u"已转换 1 个！", 0), 0u)
        << hooks.boxes[0].text.ToUtf8();
  }
}

TEST_F(BatchWindow, DroppedFilesComeBeforeDroppedFolders) {
  const fs::path p = tree.path() / "P";
  MakeGbkFile(p / "F" / "inner.txt");
  MakeGbkFile(p / "loose.txt");
  // The results in the order they appear, as seen from the message pump.
  std::vector<std::string> appeared;
  hooks.onPump = [&](int) {
    for (const char* result : {"loose.txt", "F/inner.txt"})
      if (fs::exists(p / "转换结果" / result) && std::find(appeared.begin(), appeared.end(), result) == appeared.end())
        appeared.push_back(result);
  };
  // The drop lists the folder first; the files are converted first all the same.
  DropOn(window->BatchEncodeButton, {p / "F", p / "loose.txt"});
  EXPECT_EQ(appeared, (std::vector<std::string>{"loose.txt", "F/inner.txt"}));
  EXPECT_EQ(Read(p / "转换结果" / "loose.txt"), Utf8Result());
  EXPECT_EQ(Read(p / "转换结果" / "F" / "inner.txt"), Utf8Result());
  ASSERT_EQ(hooks.boxes.size(), 1u);
  EXPECT_EQ(hooks.boxes[0].text.Str().rfind(u"已转换 2 个！", 0), 0u) << hooks.boxes[0].text.ToUtf8();
}

// A stop asked for while the second file converts ends the batch after it.
TEST_F(BatchWindow, TheRunningButtonStopsTheBatchAfterTheCurrentFile) {
  const fs::path p = tree.path() / "P";
  for (int i = 1; i <= 5; ++i) MakeGbkFile(p / ("f" + std::to_string(i) + ".txt"));
  enum class How { Click, Drop };
  for (How how : {How::Click, How::Drop}) {
    SCOPED_TRACE(how == How::Click ? "click" : "drop");
    fs::remove_all(p / "转换结果");
    hooks.boxes.clear();
    chosen = W(p);
    CWString captionAfterStop;
    RecordConvertedStems();
    auto record = hooks.onPump;
    stems.clear();
    hooks.onPump = [&, record](int n) {
      record(n);
      // The title names the first file while the second one converts.
      if (stems.size() == 1 && captionAfterStop.IsEmpty()) {
        EXPECT_EQ(window->BatchEncodeButton.GetButtonText(), u"停止批量操作");
        if (how == How::Click)
          Tap(window->BatchEncodeButton);
        else
          DropOn(window->BatchEncodeButton, {p / "f5.txt"});
        captionAfterStop = window->BatchEncodeButton.GetButtonText();
      }
    };
    Click(window->BatchEncodeButton);

    EXPECT_EQ(captionAfterStop, u"正在停止");
    EXPECT_EQ(fs::exists(p / "转换结果" / "f1.txt"), true);
    EXPECT_EQ(Read(p / "转换结果" / "f2.txt"), Utf8Result());
    for (const char* rest : {"f3.txt", "f4.txt", "f5.txt"}) EXPECT_FALSE(fs::exists(p / "转换结果" / rest)) << rest;
    ASSERT_EQ(hooks.boxes.size(), 1u);
    EXPECT_EQ(hooks.boxes[0].text.Str().rfind(u"已转换 2 个！", 0), 0u) << hooks.boxes[0].text.ToUtf8();
    EXPECT_FALSE(window->BatchRunning);
    EXPECT_FALSE(BatchStopRequested);
    EXPECT_EQ(window->FolderWalker.stopFlag, 0);
    EXPECT_EQ(window->BatchEncodeButton.GetButtonText(), u"批量转码");
  }
}

TEST_F(BatchWindow, ClosingDuringABatchFinishesTheCurrentFileThenCloses) {
  const fs::path p = tree.path() / "P";
  for (int i = 1; i <= 4; ++i) MakeGbkFile(p / ("f" + std::to_string(i) + ".txt"));
  // In place: each original goes to the backup tree of the dropped folder's
  // parent and its result takes its place. The close comes while the second
  // file converts.
  window->SaveToNewLocationCheck.SetButtonChecked(0);
  RecordConvertedStems();
  auto record = hooks.onPump;
  bool closed = false;
  hooks.onPump = [&, record](int n) {
    record(n);
    if (stems.size() == 1 && !closed) {
      closed = true;
      window->GetWidget()->close();
      EXPECT_TRUE(window->HasWindow()) << "the close must wait for the batch";
    }
  };
  DropOn(window->BatchEncodeButton, {p});
  hooks.onPump = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return !window->HasWindow(); }, 5000)) << "the window did not close";

  EXPECT_TRUE(hooks.boxes.empty()) << "no summary for a closing window";
  for (const char* done : {"f1.txt", "f2.txt"}) {
    EXPECT_EQ(Read(p / done), Utf8Result()) << done;
    EXPECT_EQ(Read(tree.path() / "原文件备份" / "P" / done), Gbk(kBatchText)) << done;
  }
  for (const char* left : {"f3.txt", "f4.txt"}) {
    EXPECT_EQ(Read(p / left), Gbk(kBatchText)) << left;
    EXPECT_FALSE(fs::exists(tree.path() / "原文件备份" / "P" / left)) << left;
  }
  // Nothing half-written is left beside the files.
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(p)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"f1.txt", "f2.txt", "f3.txt", "f4.txt"}));
  EXPECT_FALSE(window->BatchRunning);
}

TEST_F(BatchWindow, ABatchKeepsItsDirectionWhateverIsClickedMeanwhile) {
  const fs::path p = tree.path() / "P";
  for (int i = 1; i <= 3; ++i) {
    fs::create_directories(p);
    qzu_test::WriteFileText(p / ("f" + std::to_string(i) + ".txt"), "Mixed Case\r\n");
  }
  Tap(window->UpperCaseToggle);
  ASSERT_EQ(window->BatchDecodeButton.GetButtonText(), u"批量到小写");
  int boxesDuringBatch = -1;
  hooks.onPump = [&](int n) {
    if (n == 3) {
      // The other batch button, as its click and its drop would have it.
      window->Direction = 1;
      Tap(window->BatchDecodeButton);
      // The drop also refills the window's drop lists the batch started from.
      DropOn(window->BatchDecodeButton, {p / "f1.txt", p / "f2.txt"});
      boxesDuringBatch = static_cast<int>(hooks.boxes.size());
    }
  };
  DropOn(window->BatchEncodeButton, {p});

  EXPECT_EQ(boxesDuringBatch, 0) << "no second batch ran inside the first";
  for (int i = 1; i <= 3; ++i)
    EXPECT_EQ(Read(tree.path() / "转换结果" / "P" / ("f" + std::to_string(i) + ".txt")), "\xEF\xBB\xBFMIXED CASE\r\n")
        << i;
  ASSERT_EQ(hooks.boxes.size(), 1u);
  EXPECT_EQ(hooks.boxes[0].text.Str().rfind(u"已转换 3 个！", 0), 0u) << hooks.boxes[0].text.ToUtf8();
  EXPECT_EQ(window->BatchEncodeButton.GetButtonText(), u"批量到大写");
  EXPECT_EQ(window->BatchDecodeButton.GetButtonText(), u"批量到小写");
}

TEST_F(BatchWindow, AnOptionChangedDuringABatchAppliesToTheFilesAfterIt) {
  const fs::path p = tree.path() / "P";
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) MakeGbkFile(p / name);
  // The pump runs inside each file's conversion, whose options are already
  // read: a change made while b.txt converts applies from c.txt on.
  hooks.onPump = [&](int) {
    if (window->ConvertedCount == 1) window->OutputCharsetList.SelectDropDownItem(3);  // Unicode
  };
  DropOn(window->BatchEncodeButton, {p / "a.txt", p / "b.txt", p / "c.txt"});
  EXPECT_EQ(Read(p / "转换结果" / "a.txt"), Utf8Result());
  EXPECT_EQ(Read(p / "转换结果" / "b.txt"), Utf8Result());
  EXPECT_EQ(Read(p / "转换结果" / "c.txt").substr(0, 2), "\xFF\xFE");
}

TEST_F(BatchWindow, AButtonWithoutACaptionNeitherStartsNorStops) {
  const fs::path p = tree.path() / "P";
  for (int i = 1; i <= 3; ++i) MakeGbkFile(p / ("f" + std::to_string(i) + ".txt"));
  // With no function chosen the decode button has no caption.
  ASSERT_TRUE(window->BatchDecodeButton.GetButtonText().IsEmpty());
  chosen = W(p);
  Tap(window->BatchDecodeButton);
  DropOn(window->BatchDecodeButton, {p / "f1.txt"});
  EXPECT_TRUE(hooks.boxes.empty());
  EXPECT_TRUE(prompts.empty());
  EXPECT_FALSE(fs::exists(p / "转换结果"));

  hooks.onPump = [&](int n) {
    if (n == 2) {
      Tap(window->BatchDecodeButton);
      DropOn(window->BatchDecodeButton, {p / "f1.txt"});
    }
  };
  Click(window->BatchEncodeButton);
  ASSERT_EQ(hooks.boxes.size(), 1u);
  EXPECT_EQ(hooks.boxes[0].text.Str().rfind(u"已转换 3 个！", 0), 0u) << hooks.boxes[0].text.ToUtf8();
}

TEST_F(BatchWindow, TheFolderChoiceTakesAFolderOrAFileAndIsRemembered) {
  const fs::path p = tree.path() / "P";
  MakeGbkFile(p / "one.txt");
  MakeGbkFile(p / "F" / "page.htm");
  // A chosen file is converted as a file, whatever the filter says.
  chosen = W(p / "F" / "page.htm");
  Click(window->BatchEncodeButton);
  EXPECT_EQ(Read(p / "F" / "转换结果" / "page.htm"), Utf8Result());
  ASSERT_EQ(hooks.boxes.size(), 1u);
  EXPECT_EQ(hooks.boxes[0].text.Str().rfind(u"已转换 1 个！", 0), 0u) << hooks.boxes[0].text.ToUtf8();

  chosen = W(p);
  Click(window->BatchEncodeButton);
  EXPECT_EQ(Read(p / "转换结果" / "one.txt"), Utf8Result());
  ASSERT_EQ(hooks.boxes.size(), 2u);

  // Cancelled: no summary, the caption back.
  chosen = CWString();
  Click(window->BatchEncodeButton);
  EXPECT_EQ(hooks.boxes.size(), 2u);
  EXPECT_EQ(window->BatchEncodeButton.GetButtonText(), u"批量转码");
  EXPECT_FALSE(window->BatchRunning);

  ASSERT_EQ(prompts.size(), 3u);
  EXPECT_EQ(prompts[0], u"选择要转换的文件所在文件夹\r\n（如果要直接选择文件，请关掉本窗口，在按下Ctrl键时再开始）");
  EXPECT_EQ(startFolders, (std::vector<CWString>{CWString(), W(p / "F"), W(p)}));
  // The decode button remembers its own folder.
  EXPECT_TRUE(window->BatchDecodeButton.GetTextMember().IsEmpty());
}

// The real file dialog, answered by a timer once it is up.
void AnswerFileDialog(const std::vector<fs::path>& files, QString& title, QStringList& filters) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, files, &title, &filters] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    timer->stop();
    timer->deleteLater();
    title = dialog->windowTitle();
    filters = dialog->nameFilters();
    if (files.empty()) {
      dialog->reject();
      return;
    }
    QStringList quoted;
    for (const fs::path& f : files) quoted << "\"" + QString::fromStdString(f.filename().string()) + "\"";
    dialog->setDirectory(QString::fromStdString(files[0].parent_path().string()));
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    if (!edit) {
      ADD_FAILURE() << "the file dialog has no name field";
      dialog->reject();
      return;
    }
    edit->setText(quoted.join(' '));
    QMetaObject::invokeMethod(dialog, "accept");  // a protected slot
  });
  timer->start(10);
}

TEST_F(BatchWindow, WithCtrlHeldTheFileDialogChoosesTheFiles) {
  const fs::path p = tree.path() / "P";
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) MakeGbkFile(p / name);
  hooks.ctrlDown = true;
  QString dialogTitle;
  QStringList filters;
  AnswerFileDialog({p / "a.txt", p / "c.txt"}, dialogTitle, filters);
  Click(window->BatchEncodeButton);

  EXPECT_EQ(dialogTitle, QString::fromUtf16(kChooseFilesTitle));
  EXPECT_EQ(filters, (QStringList{"支持的文件 (*.htm *.html *.txt)", "全部文件 (*)"}));
  EXPECT_EQ(Read(p / "转换结果" / "a.txt"), Utf8Result());
  EXPECT_EQ(Read(p / "转换结果" / "c.txt"), Utf8Result());
  EXPECT_FALSE(fs::exists(p / "转换结果" / "b.txt"));
  ASSERT_EQ(hooks.boxes.size(), 1u);
  EXPECT_EQ(hooks.boxes[0].text.Str().rfind(u"已转换 2 个！", 0), 0u) << hooks.boxes[0].text.ToUtf8();
  EXPECT_EQ(window->BatchEncodeButton.GetTextMember(), W(p));
  EXPECT_TRUE(prompts.empty()) << "no folder choice with Ctrl held";

  // Cancelled: no summary.
  AnswerFileDialog({}, dialogTitle, filters);
  Click(window->BatchEncodeButton);
  EXPECT_EQ(hooks.boxes.size(), 1u);
  EXPECT_EQ(window->BatchEncodeButton.GetButtonText(), u"批量转码");
}

TEST_F(BatchWindow, FilesThatFailAreCountedApartFromTheConverted) {
  const fs::path p = tree.path() / "P";
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) MakeGbkFile(p / name);
  // b's result cannot be written: a folder stands where it goes.
  fs::create_directories(p / "转换结果" / "b.txt");
  // A dropped file that is gone by the time its turn comes.
  MakeGbkFile(p / "gone.txt");
  hooks.onPump = [&](int n) {
    if (n == 1) fs::remove(p / "gone.txt");
  };
  DropOn(window->BatchEncodeButton, {p / "gone.txt", p / "a.txt", p / "b.txt", p / "c.txt"});

  EXPECT_EQ(Read(p / "转换结果" / "a.txt"), Utf8Result());
  EXPECT_EQ(Read(p / "转换结果" / "c.txt"), Utf8Result());
  EXPECT_TRUE(fs::is_directory(p / "转换结果" / "b.txt"));
  EXPECT_EQ(window->ConvertedCount, 2);
  EXPECT_EQ(window->BatchFailedCount(), 2);
  ASSERT_EQ(hooks.boxes.size(), 1u);
  EXPECT_EQ(hooks.boxes[0].text.Str().rfind(u"已转换 2 个！失败 2 个！用时 ", 0), 0u) << hooks.boxes[0].text.ToUtf8();
  const CWString names = u"\r\n失败的文件：\r\n  gone.txt\r\n  b.txt\r\n确定后可以打开转换结果所在目录：";
  EXPECT_NE(hooks.boxes[0].text.Find(names.View()), -1) << hooks.boxes[0].text.ToUtf8();
}

// A single conversion whose word processor could not be started leaves the
// stop flag set outside any batch; the next drop still runs its batch.
TEST_F(BatchWindow, AStopLeftOutsideABatchDoesNotSwallowTheNextDrop) {
  const fs::path p = tree.path() / "P";
  MakeGbkFile(p / "a.txt");
  BatchStopRequested = true;
  DropOn(window->BatchEncodeButton, {p / "a.txt"});
  EXPECT_EQ(Read(p / "转换结果" / "a.txt"), Utf8Result());
  EXPECT_EQ(hooks.boxes.size(), 1u);
  EXPECT_FALSE(BatchStopRequested);
}

TEST_F(BatchWindow, DropsOnTheInputEditorPutTheFilePathsThere) {
  const fs::path p = tree.path() / "P";
  MakeGbkFile(p / "a.txt");
  MakeGbkFile(p / "b.txt");
  fs::create_directories(p / "F");
  window->InputEditor.SetCodeEditText(u"before");
  Drop(InputViewport(), {p / "F"});
  EXPECT_EQ(window->InputEditor.GetCodeEditText(), u"before") << "a folder alone changes nothing";
  Drop(InputViewport(), {p / "a.txt", p / "F", p / "b.txt"});
  EXPECT_EQ(window->InputEditor.GetCodeEditText(), W(p / "a.txt") + u"\r\n" + W(p / "b.txt"));
  EXPECT_TRUE(hooks.boxes.empty());
  EXPECT_FALSE(fs::exists(p / "转换结果"));
}

TEST(BatchTexts, FiltersAndSummary) {
  using F = ConversionFunction;
  using D = ConversionDirection;
  struct Row {
    F function;
    D direction;
    const char16_t* dialog;
    const char16_t* walk;
  } rows[] = {
      {F::None, D::Encode, u"支持的文件|*.htm;*.html;*.txt|全部文件|*.*", u"*.log"},
      {F::WordToText, D::Encode, u"支持的文件|*.doc;*.docx|全部文件|*.*", u"*.doc|*.docx"},
      {F::WordToText, D::Decode, u"支持的文件|*.htm;*.html;*.txt|全部文件|*.*", u"*.htm|*.html|*.txt"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(BatchFileDialogFilter(row.function, row.direction), row.dialog);
    EXPECT_EQ(BatchFolderFilter(row.function, row.direction, u"*.log"), row.walk);
  }
  EXPECT_EQ(BatchSummaryText(5, BatchTally(), 0, u"用时 1秒", u"/r/转换结果"),
            u"已转换 5 个！用时 1秒\r\n确定后可以打开转换结果所在目录：/r/转换结果");
  BatchTally failed;
  failed.failed = 2;
  EXPECT_EQ(BatchSummaryText(5, failed, 1, u"用时 1秒", u"/r"),
            u"已转换 5 个！失败 2 个！无法读取的文件夹 1 个！用时 1秒\r\n失败的文件：\r\n  …\r\n确定后可以打开转换结果所在目录：/r");
}

}  // namespace
