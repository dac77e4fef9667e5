// The file system operations of the folder browser: existence, making a
// folder with its parents, and renaming that never replaces a target, by the
// atomic flag and by the look-first fallback alike; which links are followed.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/file_system_ops.h"
#include "platform/whole_file_read.h"
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

namespace {

constexpr uid_t kOtherUser = 12345;

// Gives `p` itself (a link is not followed) to another user; false where the
// process may not.
bool GiveToOtherUser(const fs::path& p) { return ::lchown(p.c_str(), kOtherUser, kOtherUser) == 0; }

// A link is followed only when it belongs to the running user or to the
// owner of its folder; a link on the way that belongs to anyone else stops
// the walk there, and the reader of whole files refuses it.
TEST(ForeignLinks, AreNeitherFollowedNorReadThrough) {
  qzu_test::TempDir dir;
  const fs::path outside = dir.path() / "outside" / "secret.txt";
  qzu_test::WriteFileText(outside, "secret");
  const fs::path shared = dir.path() / "shared";
  const fs::path othersFolder = dir.path() / "others";
  fs::create_directories(shared);
  fs::create_directories(othersFolder);
  if (!GiveToOtherUser(othersFolder)) GTEST_SKIP() << "the process may not give files to another user";
  struct Case {
    const char* name;
    fs::path link;
    std::function<void(const fs::path&)> make;
    LinkedEntry expected;
  };
  const Case cases[] = {
      {"own, absolute", shared / "own", [&](const fs::path& p) { fs::create_symlink(outside, p); },
       LinkedEntry::Found},
      {"own, relative", shared / "relative", [&](const fs::path& p) { fs::create_symlink("../outside/secret.txt", p); },
       LinkedEntry::Found},
      {"another user's", shared / "foreign",
       [&](const fs::path& p) {
         fs::create_symlink(outside, p);
         GiveToOtherUser(p);
       },
       LinkedEntry::ForeignLink},
      {"own, to another user's", shared / "chain", [&](const fs::path& p) { fs::create_symlink(shared / "foreign", p); },
       LinkedEntry::ForeignLink},
      {"the folder owner's", othersFolder / "owners",
       [&](const fs::path& p) {
         fs::create_symlink(outside, p);
         GiveToOtherUser(p);
       },
       LinkedEntry::Found},
      {"own, dangling", shared / "dangling", [&](const fs::path& p) { fs::create_symlink(shared / "gone", p); },
       LinkedEntry::None},
  };
  for (const Case& c : cases) c.make(c.link);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = c.link.string();
    struct stat st{};
    ASSERT_EQ(FollowOwnLinks(path, st), c.expected);
    CQzuMem read;
    const bool readOk = ReadWholeFile(P(c.link), read);
    EXPECT_EQ(readOk, c.expected == LinkedEntry::Found);
    if (c.expected == LinkedEntry::Found) {
      EXPECT_EQ(fs::path(path).lexically_normal(), outside.lexically_normal());
      EXPECT_TRUE(S_ISREG(st.st_mode));
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(read.GetData()), read.GetSize()), "secret");
    } else if (c.expected == LinkedEntry::ForeignLink) {
      EXPECT_EQ(path, (shared / "foreign").string());  // the link that stopped the walk
      EXPECT_TRUE(S_ISLNK(st.st_mode));
      EXPECT_EQ(OpenFollowingOwnLinks(c.link.string(), O_RDONLY), -1);
      EXPECT_EQ(errno, EACCES);
    }
  }
  // A file that is no link is opened as it is.
  const int fd = OpenFollowingOwnLinks(outside.string(), O_RDONLY | O_CLOEXEC);
  EXPECT_GE(fd, 0);
  if (fd >= 0) ::close(fd);
}

}  // namespace
