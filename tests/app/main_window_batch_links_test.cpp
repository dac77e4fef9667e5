// Links in a batch's folder through the real window: another user's link to
// a file outside is named among the failed files and nothing of that file
// reaches the results; the user's own link is converted as any file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "batch_window_fixture.h"

namespace {

namespace fs = std::filesystem;
using qzu_test::Gbk;
using qzu_test::kBatchText;
using qzu_test::MakeGbkFile;
using qzu_test::Utf8Result;
using qzu_test::W;

using BatchLinks = qzu_test::BatchWindowFixture;

TEST_F(BatchLinks, AnotherUsersLinkToAFileOutsideIsNamedAsFailedAndNotRead) {
  const fs::path outside = tree.path() / "outside" / "shadow.txt";
  MakeGbkFile(outside);
  const fs::path r = tree.path() / "R";
  MakeGbkFile(r / "plain.txt");
  fs::create_symlink(outside, r / "own.txt");
  fs::create_symlink("../outside/shadow.txt", r / "planted.txt");
  if (::lchown((r / "planted.txt").c_str(), 12345, 12345) != 0)
    GTEST_SKIP() << "the process may not give files to another user";
  window->SaveToNewLocationCheck.SetButtonChecked(1);
  chosen = W(r);
  Click(window->BatchEncodeButton);

  EXPECT_EQ(qzu_test::ReadFileText(r / "转换结果" / "plain.txt"), Utf8Result());
  EXPECT_EQ(qzu_test::ReadFileText(r / "转换结果" / "own.txt"), Utf8Result());
  EXPECT_FALSE(fs::exists(fs::symlink_status(r / "转换结果" / "planted.txt")));
  EXPECT_EQ(qzu_test::ReadFileText(outside), Gbk(kBatchText));
  EXPECT_TRUE(fs::is_symlink(r / "planted.txt"));

  ASSERT_EQ(hooks.boxes.size(), 1u);
  const std::u16string summary = hooks.boxes[0].text.Str();
  EXPECT_EQ(summary.rfind(u"已转换 2 个！失败 1 个！", 0), 0u) << hooks.boxes[0].text.ToUtf8();
  EXPECT_NE(summary.find(u"失败的文件：\r\n  planted.txt\r\n"), std::u16string::npos) << hooks.boxes[0].text.ToUtf8();
}

}  // namespace
