// The file system operations of the folder browser: existence, making a
// folder with its parents, and renaming that never replaces a target, by the
// atomic flag and by the look-first fallback alike.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/file_system_ops.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

CWString P(const fs::path& p) { return CWString::FromSystemPath(p.string()); }

class FileSystemOps : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir.path() / "folder" / "inner");
    qzu_test::WriteFileText(dir.path() / "file.txt", "x");
    fs::create_directory_symlink(dir.path() / "folder", dir.path() / "link");
    fs::create_symlink(dir.path() / "gone", dir.path() / "dangling");
  }
  qzu_test::TempDir dir;
};

TEST_F(FileSystemOps, ExistenceAndFolders) {
  const struct {
    const char* name;
    bool exists, folder;
  } cases[] = {{"folder", true, true},
               {"file.txt", true, false},
               {"link", true, true},
               {"dangling", false, false},
               {"missing", false, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(PathExists(P(dir.path() / c.name)), c.exists) << c.name;
    EXPECT_EQ(IsExistingFolder(P(dir.path() / c.name)), c.folder) << c.name;
  }
  EXPECT_FALSE(PathExists(CWString()));
  EXPECT_FALSE(IsExistingFolder(CWString()));
}

TEST_F(FileSystemOps, CreateFolderWithParents) {
  EXPECT_TRUE(CreateFolderWithParents(P(dir.path() / "a" / "新" / "c")));
  EXPECT_TRUE(fs::is_directory(dir.path() / "a" / "新" / "c"));
  EXPECT_TRUE(CreateFolderWithParents(P(dir.path() / "folder")));  // already there
  EXPECT_TRUE(CreateFolderWithParents(P(dir.path() / "link")));
  EXPECT_FALSE(CreateFolderWithParents(P(dir.path() / "file.txt")));
  EXPECT_FALSE(CreateFolderWithParents(P(dir.path() / "file.txt" / "below")));
  EXPECT_FALSE(CreateFolderWithParents(CWString()));
}

using RenameFunction = bool (*)(const CWString&, const CWString&, int*);

TEST_F(FileSystemOps, RenameNeverReplacesTheTarget) {
  const struct {
    const char* name;
    RenameFunction rename;
  } ways[] = {{"atomic", &RenameWithoutReplacing}, {"look first", &RenameWithoutReplacingByCheck}};
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    const fs::path a = dir.path() / "a", b = dir.path() / "b", empty = dir.path() / "empty";
    fs::create_directories(a / "kept");
    fs::create_directory(empty);
    int error = 0;
    // An empty folder at the target would be replaced by a plain rename().
    EXPECT_FALSE(way.rename(P(a), P(empty), &error));
    EXPECT_EQ(error, EEXIST);
    EXPECT_TRUE(fs::exists(a / "kept"));
    EXPECT_TRUE(fs::is_empty(empty));
    EXPECT_FALSE(way.rename(P(a), P(dir.path() / "file.txt"), &error));
    EXPECT_EQ(error, EEXIST);
    EXPECT_EQ(qzu_test::ReadFileText(dir.path() / "file.txt"), "x");
    EXPECT_FALSE(way.rename(P(a), P(dir.path() / "dangling"), &error));
    EXPECT_EQ(error, EEXIST);
    EXPECT_TRUE(way.rename(P(a), P(b), &error));
    EXPECT_TRUE(fs::exists(b / "kept"));
    EXPECT_FALSE(fs::exists(a));
    EXPECT_FALSE(way.rename(P(a), P(dir.path() / "c"), &error));
    EXPECT_EQ(error, ENOENT);
    fs::remove_all(b);
    fs::remove_all(empty);
  }
}

}  // namespace
