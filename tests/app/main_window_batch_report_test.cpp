// What a batch through the real window tells and leaves: files that hold no
// text untouched and named, failed files named, characters the output
// charset lacks counted, a batch run again that writes and keeps nothing,
// and a function clicked during a batch or a single conversion that changes
// neither the running work nor its caption.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "app/batch_texts.h"
#include "batch_window_fixture.h"

using namespace rg_Ombrine_app;
namespace fs = std::filesystem;

namespace {

using qzu_test::Gbk;
using qzu_test::kBatchText;
using qzu_test::MakeGbkFile;
using qzu_test::Utf8Result;
using qzu_test::W;

using BatchReport = qzu_test::BatchWindowFixture;

std::string Read(const fs::path& p) { return qzu_test::ReadFileText(p); }

// A subtitle in UTF-8 without a mark, plainly UTF-8 by its Chinese lines,
// with a character outside the BMP that GBK lacks.
const std::string kSubtitle =
    "1\r\n00:00:01,000 --> 00:00:03,000\r\n好的👍，我们明天早上九点在学校门口见面。\r\n\r\n"
    "2\r\n00:00:04,000 --> 00:00:06,000\r\n记得带上你的作业本和昨天借的那本书。\r\n";

// A picture of one pixel.
std::string Png() {
  const std::vector<uint8_t> b = qzu_test::Hex(
      "89504E470D0A1A0A0000000D4948445200000001000000010806000000"
      "1F15C4890000000A49444154789C63000100000500010D0A2DB40000000049454E44AE426082");
  return std::string(b.begin(), b.end());
}

std::string Utf16WithMark(const std::string& utf8) {
  const CWString text = CWString::FromUtf8(utf8);
  return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.GetBuffer()), text.Length() * 2);
}

void Write(const fs::path& p, const std::string& bytes) {
  fs::create_directories(p.parent_path());
  qzu_test::WriteFileText(p, bytes);
}

// Every entry below `root`, each with its bytes.
std::map<std::string, std::string> TreeOf(const fs::path& root) {
  std::map<std::string, std::string> entries;
  if (!fs::exists(root)) return entries;
  for (const auto& e : fs::recursive_directory_iterator(root))
    entries[fs::relative(e.path(), root).string()] = e.is_regular_file() ? Read(e.path()) : "/";
  return entries;
}

// The summary's first line, then the rest after it.
std::u16string FirstLine(const CWString& summary) { return summary.Str().substr(0, summary.Str().find(u"\r\n")); }
CWString AfterFirstLine(const CWString& summary) {
  const size_t at = summary.Str().find(u"\r\n");
  return at == std::u16string::npos ? CWString() : CWString(summary.Str().substr(at + 2));
}

TEST_F(BatchReport, ATreeOfTextPicturesAndProgramsConvertsItsTextAlone) {
  const fs::path r = tree.path() / "R";
  const std::string program = Read("/bin/true");
  Write(r / "字幕.txt", kSubtitle);
  MakeGbkFile(r / "gbk.txt");
  Write(r / "image.txt", Png());
  Write(r / "sub" / "program.txt", program);
  Write(r / "sub" / "utf16.txt", Utf16WithMark(kBatchText));
  window->WalkSubfoldersCheck.SetButtonChecked(1);
  window->SaveToNewLocationCheck.SetButtonChecked(0);  // in place
  chosen = W(r);
  Click(window->BatchEncodeButton);

  EXPECT_EQ(Read(r / "字幕.txt"), "\xEF\xBB\xBF" + kSubtitle);
  EXPECT_EQ(Read(r / "gbk.txt"), Utf8Result());
  EXPECT_EQ(Read(r / "sub" / "utf16.txt"), Utf8Result());
  EXPECT_EQ(Read(r / "image.txt"), Png());
  EXPECT_EQ(Read(r / "sub" / "program.txt"), program);
  // Only what was replaced is kept.
  const auto backups = TreeOf(r / "原文件备份");
  EXPECT_EQ(backups.size(), 4u);
  for (const char* kept : {"字幕.txt", "gbk.txt", "sub", "sub/utf16.txt"}) EXPECT_TRUE(backups.count(kept)) << kept;

  ASSERT_EQ(hooks.boxes.size(), 1u);
  const CWString& summary = hooks.boxes[0].text;
  EXPECT_EQ(FirstLine(summary).rfind(u"已转换 3 个！用时 ", 0), 0u) << summary.ToUtf8();
  EXPECT_EQ(AfterFirstLine(summary), u"跳过 2 个非文本文件：\r\n  image.txt\r\n  sub/program.txt\r\n确定后可以打开转换结果所在目录：" +
                                         W(r))
      << summary.ToUtf8();
}

TEST_F(BatchReport, ToAnsiTheSummaryCountsReplacedCharactersAndNamesFailedAndSkippedFiles) {
  const fs::path r = tree.path() / "R";
  Write(r / "字幕.txt", kSubtitle);
  MakeGbkFile(r / "a.txt");
  Write(r / "korean.txt", Utf16WithMark("한국어 text\r\n"));
  MakeGbkFile(r / "blocked.txt");
  fs::create_directories(r / "转换结果" / "blocked.txt");  // a folder where its result goes
  Write(r / "image.txt", Png());
  window->OutputCharsetList.SelectDropDownItem(1);  // ANSI
  window->SaveToNewLocationCheck.SetButtonChecked(1);
  chosen = W(r);
  Click(window->BatchEncodeButton);

  // The text is written all the same, "?" where GBK has no character.
  EXPECT_EQ(Read(r / "转换结果" / "字幕.txt"), Gbk(kSubtitle));
  EXPECT_NE(Read(r / "转换结果" / "字幕.txt").find("\xBA\xC3\xB5\xC4?"), std::string::npos);  // 好的?
  EXPECT_EQ(Read(r / "转换结果" / "korean.txt"), "??? text\r\n");
  EXPECT_EQ(Read(r / "转换结果" / "a.txt"), Gbk(kBatchText));
  EXPECT_FALSE(fs::exists(r / "转换结果" / "image.txt"));

  ASSERT_EQ(hooks.boxes.size(), 1u);
  const CWString& summary = hooks.boxes[0].text;
  EXPECT_EQ(FirstLine(summary).rfind(u"已转换 3 个！失败 1 个！用时 ", 0), 0u) << summary.ToUtf8();
  EXPECT_EQ(AfterFirstLine(summary),
            u"2 个文件含有无法用目标编码表示的字符（已替换为?）\r\n跳过 1 个非文本文件：\r\n  image.txt\r\n"
            u"失败的文件：\r\n  blocked.txt\r\n确定后可以打开转换结果所在目录：" +
                W(r / "转换结果"))
      << summary.ToUtf8();
}

// A finished batch run again changes nothing, in place and into the result
// tree; a changed output charset converts and keeps as the first run did.
TEST_F(BatchReport, RerunsOfAFinishedBatchAddNothingToTheBackupTree) {
  for (const bool inPlace : {true, false}) {
    SCOPED_TRACE(inPlace ? "in place" : "into the result tree");
    const fs::path r = tree.path() / (inPlace ? "in place" : "result tree");
    MakeGbkFile(r / "a.txt");
    MakeGbkFile(r / "sub" / "b.txt");
    window->WalkSubfoldersCheck.SetButtonChecked(1);
    window->SaveToNewLocationCheck.SetButtonChecked(inPlace ? 0 : 1);
    window->OutputCharsetList.SelectDropDownItem(2);  // UTF-8
    chosen = W(r);
    hooks.boxes.clear();
    Click(window->BatchEncodeButton);
    const auto backups = TreeOf(r / "原文件备份");
    const auto results = TreeOf(inPlace ? r : r / "转换结果");
    EXPECT_EQ(backups.size(), inPlace ? 3u : 0u);
    for (int run = 2; run <= 3; ++run) {
      Click(window->BatchEncodeButton);
      EXPECT_EQ(TreeOf(r / "原文件备份"), backups) << run;
      EXPECT_EQ(TreeOf(inPlace ? r : r / "转换结果"), results) << run;
    }
    ASSERT_EQ(hooks.boxes.size(), 3u);
    for (const auto& box : hooks.boxes) EXPECT_EQ(FirstLine(box.text).rfind(u"已转换 2 个！用时 ", 0), 0u);

    window->OutputCharsetList.SelectDropDownItem(3);  // UTF-16
    Click(window->BatchEncodeButton);
    const fs::path a = inPlace ? r / "a.txt" : r / "转换结果" / "a.txt";
    EXPECT_EQ(Read(a).substr(0, 2), "\xFF\xFE");
    const fs::path keptA = inPlace ? r / "原文件备份" / "a (2).txt" : r / "原文件备份" / "转换结果" / "a.txt";
    EXPECT_EQ(Read(keptA), Utf8Result());
  }
}

// A function toggle clicked while a batch runs: the batch goes on with its
// own function and keeps its stop caption; the toggle applies afterwards.
TEST_F(BatchReport, AFunctionClickedDuringABatchChangesNeitherItsWorkNorItsCaption) {
  const fs::path p = tree.path() / "P";
  for (int i = 1; i <= 3; ++i) Write(p / ("f" + std::to_string(i) + ".txt"), "Mixed 头发\r\n");
  Tap(window->UpperCaseToggle);
  CWString captionAfterClick;
  // Clicked while the second file converts: the third reads its options after it.
  hooks.onPump = [&](int) {
    if (window->ConvertedCount == 1 && captionAfterClick.IsEmpty()) {
      Tap(window->TraditionalToggle);
      captionAfterClick = window->BatchEncodeButton.GetButtonText();
    }
  };
  DropOn(window->BatchEncodeButton, {p});

  EXPECT_EQ(captionAfterClick, u"停止批量操作");
  for (int i = 1; i <= 3; ++i)
    EXPECT_EQ(Read(tree.path() / "转换结果" / "P" / ("f" + std::to_string(i) + ".txt")), "\xEF\xBB\xBFMIXED 头发\r\n")
        << i;
  EXPECT_TRUE(window->TraditionalToggle.checked);
  EXPECT_EQ(window->BatchEncodeButton.GetButtonText(), u"批量到繁体");
  EXPECT_EQ(window->BatchDecodeButton.GetButtonText(), u"批量到简体");
}

TEST_F(BatchReport, AFunctionClickedDuringASingleConversionChangesNeitherItsWorkNorItsCaption) {
  Tap(window->UpperCaseToggle);
  window->InputEditor.SetCodeEditText(u"Mixed 头发");
  CWString captionAfterClick;
  hooks.onPump = [&](int) {
    if (captionAfterClick.IsEmpty()) {
      Tap(window->TraditionalToggle);
      captionAfterClick = window->EncodeButton.GetButtonText();
    }
  };
  Click(window->EncodeButton);
  hooks.onPump = nullptr;

  EXPECT_EQ(captionAfterClick, u"正在处理..");
  EXPECT_EQ(window->ResultEditor.GetCodeEditText(), u"MIXED 头发");
  EXPECT_EQ(window->EncodeButton.GetButtonText(), u"简体到繁体");
}

TEST_F(BatchReport, ASingleConversionTellsInTheTitleWhatTheAnsiFormReplaced) {
  Tap(window->BytesHexToggle);
  window->AnsiRadio.SetChecked(true);
  window->InputEditor.SetCodeEditText(u"中😀");
  Click(window->EncodeButton);
  EXPECT_EQ(window->ResultEditor.GetCodeEditText(), u"D6D03F");
  EXPECT_TRUE(window->GetCaption().EndsWith(u"1 个字符无法用目标编码表示（已替换为?）")) << window->GetCaption().ToUtf8();

  window->InputEditor.SetCodeEditText(u"中");
  Click(window->EncodeButton);
  EXPECT_EQ(window->ResultEditor.GetCodeEditText(), u"D6D0");
  EXPECT_EQ(window->GetCaption(), title);
}

// Originals that could not leave for the backup tree ("删除原文件") stay
// where they were beside their results, and the summary counts and names
// them as it names failed files.
TEST_F(BatchReport, OriginalsThatCouldNotBeMovedAreCountedAndNamed) {
  const fs::path r = tree.path() / "R";
  MakeGbkFile(r / "a.txt");
  MakeGbkFile(r / "sub" / "b.txt");
  Write(r / "原文件备份", "a file where the backup folder belongs");
  window->WalkSubfoldersCheck.SetButtonChecked(1);
  window->SaveToNewLocationCheck.SetButtonChecked(1);
  window->DeleteOriginalCheck.SetButtonChecked(1);
  chosen = W(r);
  Click(window->BatchEncodeButton);

  for (const char* name : {"a.txt", "sub/b.txt"}) {
    EXPECT_EQ(Read(r / "转换结果" / name), Utf8Result()) << name;
    EXPECT_EQ(Read(r / name), Gbk(kBatchText)) << name;
  }
  ASSERT_EQ(hooks.boxes.size(), 1u);
  const CWString& summary = hooks.boxes[0].text;
  EXPECT_EQ(FirstLine(summary).rfind(u"已转换 2 个！用时 ", 0), 0u) << summary.ToUtf8();
  EXPECT_EQ(AfterFirstLine(summary), u"2 个原文件无法移入原文件备份，仍在原处：\r\n  a.txt\r\n  sub/b.txt\r\n"
                                     u"确定后可以打开转换结果所在目录：" + W(r / "转换结果"))
      << summary.ToUtf8();
}

// Names whose bytes are GBK, not UTF-8, are listed as they read in GBK.
TEST_F(BatchReport, NamesInGbkBytesAreListedReadable) {
  const fs::path r = tree.path() / "R";
  // "图" alone would pass for UTF-8; the name as a whole does not.
  const std::string picture = Gbk("图像") + ".txt";
  const fs::path blocked = fs::path(Gbk("旧目录")) / (Gbk("旧說明") + ".txt");  // 說's second byte is "f"
  Write(r / picture, Png());
  MakeGbkFile(r / blocked);
  fs::create_directories(r / "转换结果" / blocked);  // a folder where its result goes
  window->WalkSubfoldersCheck.SetButtonChecked(1);
  window->SaveToNewLocationCheck.SetButtonChecked(1);
  chosen = W(r);
  Click(window->BatchEncodeButton);

  ASSERT_EQ(hooks.boxes.size(), 1u);
  const CWString& summary = hooks.boxes[0].text;
  EXPECT_NE(summary.Find(u"跳过 1 个非文本文件：\r\n  图像.txt\r\n"), -1) << summary.ToUtf8();
  EXPECT_NE(summary.Find(u"失败的文件：\r\n  旧目录/旧說明.txt\r\n"), -1) << summary.ToUtf8();
}

// A batch that leaves no result folder offers none to open: OK alone.
TEST_F(BatchReport, ABatchOverAnEmptyFolderOffersNoFolderToOpen) {
  const fs::path r = tree.path() / "empty";
  fs::create_directories(r);
  window->SaveToNewLocationCheck.SetButtonChecked(1);
  hooks.answer = kIdOk;
  chosen = W(r);
  Click(window->BatchEncodeButton);

  ASSERT_EQ(hooks.boxes.size(), 1u);
  EXPECT_EQ(hooks.boxes[0].text.Str().rfind(u"已转换 0 个！用时 ", 0), 0u) << hooks.boxes[0].text.ToUtf8();
  EXPECT_EQ(hooks.boxes[0].text.Find(u"确定后可以打开转换结果所在目录"), -1) << hooks.boxes[0].text.ToUtf8();
  EXPECT_EQ(hooks.boxes[0].style, 0x3040);
  EXPECT_TRUE(hooks.opened.empty());
  EXPECT_FALSE(fs::exists(r / "转换结果"));
}

TEST(BatchSummary, CountsAndTheFirstTenNamesOfEachKind) {
  BatchTally none;
  EXPECT_EQ(BatchSummaryText(5, none, 0, u"用时 1秒", u"/r/转换结果"),
            u"已转换 5 个！用时 1秒\r\n确定后可以打开转换结果所在目录：/r/转换结果");

  BatchTally some;
  some.AddFailed(u"a/x.txt");
  some.AddFailed(u"y.txt");
  some.replaced = 3;
  EXPECT_EQ(BatchSummaryText(5, some, 1, u"用时 1秒", u"/r"),
            u"已转换 5 个！失败 2 个！无法读取的文件夹 1 个！用时 1秒\r\n"
            u"3 个文件含有无法用目标编码表示的字符（已替换为?）\r\n失败的文件：\r\n  a/x.txt\r\n  y.txt\r\n"
            u"确定后可以打开转换结果所在目录：/r");

  BatchTally many;
  CWString names;
  for (int i = 1; i <= 12; ++i) {
    many.AddSkipped(CWString::FromInt(i) + u".txt");
    if (i <= 10) names += u"\r\n  " + CWString::FromInt(i) + u".txt";
  }
  EXPECT_EQ(BatchSummaryText(0, many, 0, u"用时 1秒", u"/r"),
            u"已转换 0 个！用时 1秒\r\n跳过 12 个非文本文件：" + names + u"\r\n  …\r\n确定后可以打开转换结果所在目录：/r");

  // Twelve failed and twelve that stayed: ten names each, then "…"; a
  // batch stopped by a failure says why; no folder, no offer.
  BatchTally failing;
  for (int i = 1; i <= 12; ++i) {
    failing.AddFailed(CWString::FromInt(i) + u".txt");
    failing.AddStayed(CWString::FromInt(i) + u".txt");
  }
  failing.stopReason = u"初始化Word失败！";
  EXPECT_EQ(BatchSummaryText(2, failing, 0, u"用时 1秒", u""),
            u"已转换 2 个！失败 12 个！用时 1秒\r\n批量操作已停止：初始化Word失败！\r\n失败的文件：" + names +
                u"\r\n  …\r\n12 个原文件无法移入原文件备份，仍在原处：" + names + u"\r\n  …");

  EXPECT_EQ(NameInBatch(u"/r/a/x.txt", u"/r"), u"a/x.txt");
  EXPECT_EQ(NameInBatch(u"/r/a/x.txt", u"/r/"), u"a/x.txt");
  EXPECT_EQ(NameInBatch(u"/rx/y.txt", u"/r"), u"/rx/y.txt");
  EXPECT_EQ(NameInBatch(u"/s/y.txt", u""), u"/s/y.txt");
  // Bytes that are not UTF-8 read in GBK, name by name.
  const CWString gbkName = CWString::FromSystemPath(Gbk("中文") + "/" + Gbk("說") + "m.txt");
  EXPECT_EQ(NameInBatch(u"/r/" + gbkName, u"/r"), u"中文/說m.txt");
  EXPECT_EQ(NameInBatch(u"/r/😀.txt", u"/r"), u"😀.txt");
}

}  // namespace
