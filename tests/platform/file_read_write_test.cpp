// The framework file object: one OS file handle shared by copies.
#include <gtest/gtest.h>

#include <fcntl.h>

#include "platform/file_read_write.h"
#include "test_support.h"

using rg_Ombrine_base::rg_WenJianDouXieLei;

namespace {

bool DescriptorIsOpen(int fd) { return fcntl(fd, F_GETFD) != -1; }

TEST(FileReadWrite, LastHolderClosesTheSharedHandle) {
  qzu_test::TempDir dir;
  const CWString path = CWString::FromUtf8(dir.str() + "/文件.txt");
  int fd = -1;
  {
    rg_WenJianDouXieLei file;
    ASSERT_EQ(file.Open(path, true), 1);
    fd = file.Handle()->Descriptor();
    ASSERT_TRUE(DescriptorIsOpen(fd));
    {
      rg_WenJianDouXieLei copy(file);
      EXPECT_TRUE(copy.IsOpen());
      EXPECT_EQ(copy.Handle()->Descriptor(), fd);
    }
    EXPECT_TRUE(DescriptorIsOpen(fd));  // one holder is still there
  }
  EXPECT_FALSE(DescriptorIsOpen(fd));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "文件.txt"));
}

TEST(FileReadWrite, OpenFailuresAndClose) {
  qzu_test::TempDir dir;
  rg_WenJianDouXieLei file;
  EXPECT_EQ(file.Open(CWString(), false), 0);
  EXPECT_EQ(file.Open(CWString::FromUtf8(dir.str() + "/missing"), false), 0);
  EXPECT_FALSE(file.IsOpen());
  qzu_test::WriteFile(dir.path() / "a", {1, 2});
  // A regular file where a folder is expected.
  EXPECT_EQ(file.Open(CWString::FromUtf8(dir.str() + "/a/b"), true), 0);
  ASSERT_EQ(file.Open(CWString::FromUtf8(dir.str() + "/a"), false), 1);
  rg_WenJianDouXieLei copy(file);
  copy.Close();
  EXPECT_FALSE(file.IsOpen());  // closing through a copy closes the shared handle
}

}  // namespace
